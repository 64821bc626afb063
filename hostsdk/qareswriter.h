#ifndef QARESWRITER_H
#define QARESWRITER_H

#include <QString>

class QARes;
class QIODevice;

// Writes resource chains as XML: a root element "resources" holding one
// element per resource, "group" elements holding their children.
//
//   <resources version="1">
//     <group tag="REPORTER">
//       <rgb tag="background" red="255" green="255" blue="255"/>
//       <bool tag="auto_raise" value="true"/>
//       <int tag="auto_depth" value="4"/>
//       <string tag="name">Normal</string>
//     </group>
//   </resources>
class QAResWriter
{
public:
    static constexpr int formatVersion = 1;

    // Writes `first` and the resources following it; false when the device
    // could not be written.
    bool write(const QARes* first, QIODevice* device);
    bool writeFile(const QARes* first, const QString& path);
    QString errorString() const { return m_errorString; }

private:
    QString m_errorString;
};

#endif
