#include "dhtmlfilename.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace {

// Bytes of UTF-8 a base name may take: with the hash and an extension it
// stays far below the 255 bytes file systems allow.
constexpr int maxBaseBytes = 120;

int utf8Length(QChar ch)
{
    const ushort code = ch.unicode();
    return code < 0x80 ? 1 : code < 0x800 ? 2 : 3;
}

} // namespace

bool DHtmlFileName::isSafe(QChar ch)
{
    const ushort code = ch.unicode();
    if (code < 0x80)
        return (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
               (code >= '0' && code <= '9') || code == '-' || code == '_' || code == '.';
    // Letters and digits of other scripts are kept; surrogates (whose pairs
    // could be split by the length limit) and everything else are not.
    return !ch.isSurrogate() && ch.isLetterOrNumber();
}

QString DHtmlFileName::hashOf(const QString& name)
{
    // Hashes the UTF-16 units themselves: lone surrogates stay distinct.
    const QByteArray bytes(reinterpret_cast<const char*>(name.utf16()),
                           name.size() * qsizetype(sizeof(char16_t)));
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(10));
}

QString DHtmlFileName::safeExtension(const QString& ext)
{
    QString safe = QStringLiteral(".");
    for (QChar ch : ext) {
        const ushort code = ch.unicode();
        if (safe.size() < 16 && code < 0x80 && ch.isLetterOrNumber())
            safe.append(ch);
    }
    return safe.size() > 1 ? safe : QStringLiteral(".html");
}

QString DHtmlFileName::make(const QString& name, const QString& ext)
{
    return build(name, safeExtension(ext), name, false);
}

QString DHtmlFileName::build(const QString& name, const QString& ext, const QString& original,
                             bool changed)
{
    QString base;
    base.reserve(qMin<qsizetype>(name.size(), maxBaseBytes));
    int bytes = 0;
    for (QChar ch : name) {
        const QChar kept = isSafe(ch) ? ch : QLatin1Char('_');
        changed = changed || kept != ch;
        bytes += utf8Length(kept);
        if (bytes > maxBaseBytes) {
            changed = true;
            break;
        }
        base.append(kept);
    }
    // A leading dot would hide the file, and "." or ".." are not files.
    if (base.startsWith(QLatin1Char('.'))) {
        base[0] = QLatin1Char('_');
        changed = true;
    }
    if (base.isEmpty()) {
        base = QStringLiteral("page");
        changed = true;
    }
    if (changed)
        base += QLatin1Char('-') + hashOf(original);
    return base + ext;
}

QString DHtmlFileName::keepingExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || name.size() - dot > 6)
        return build(name, QStringLiteral(".img"), name, true);
    const QString ext = safeExtension(name.mid(dot));
    // The hash is of the whole name: "a/b.png" and "a_b.png" stay apart.
    return build(name.left(dot), ext, name, ext != name.mid(dot));
}

void DHtmlFileName::dropLink(const QString& path)
{
    if (QFileInfo(path).isSymLink())
        QFile::remove(path);
}
