#ifndef FUZZAPP_H
#define FUZZAPP_H

#include <QByteArray>
#include <QLoggingCategory>

#include <cstdint>
#include <cstdlib>

// The application object a fuzz target needs, made once for the whole run
// (App is QCoreApplication, or QGuiApplication where fonts are used), on
// the offscreen platform and with the product's warnings about malformed
// input silenced: every other input is malformed.
template <class App> void startFuzzApp(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.warning=false"));
    static App app(*argc, *argv);
}

// The input as a byte array that shares the fuzzer's buffer.
inline QByteArray fuzzBytes(const uint8_t* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
}

#endif
