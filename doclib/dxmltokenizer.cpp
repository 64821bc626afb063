#include "dxmltokenizer.h"

#include "dxmlsink.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QStringDecoder>

#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The library is built with DTD support; its amplification limit is
// declared only when the header is told so.
#ifndef XML_DTD
#define XML_DTD
#endif
#include <expat.h>

namespace {

// Separates a namespace from a local name when namespaces are processed.
const char NamespaceSeparator = '\x1f';

// Decoded text starts this far into its buffer, and ends at least as far
// before its end: Qt's string hashing reads whole aligned vectors, which
// may reach a little before and after a view.
const qsizetype Margin = 16;

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(DXmlTokenizer)
};

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\n' || c == u'\t' || c == u'\r';
}

} // namespace

// Expat's callbacks, with the tokenizer as user data.
struct DXmlExpatCallbacks
{
    static void XMLCALL onStart(void* data, const char* name, const char** attributes);
    static void XMLCALL onEnd(void* data, const char* name);
    static void XMLCALL onText(void* data, const char* text, int size);
    static void XMLCALL onEntityDeclared(void* data, const char*, int, const char*, int,
                                         const char*, const char*, const char*, const char*);
    static int XMLCALL onUnknownEncoding(void*, const char* name, XML_Encoding* info);
};

DXmlTokenizer::DXmlTokenizer(QIODevice* device, DXmlSink* sink, bool namespaces)
    : m_parser(namespaces ? XML_ParserCreateNS(nullptr, NamespaceSeparator)
                          : XML_ParserCreate(nullptr)),
      m_device(device), m_sink(sink), m_namespaces(namespaces)
{
    XML_SetUserData(m_parser, this);
    XML_SetElementHandler(m_parser, &DXmlExpatCallbacks::onStart, &DXmlExpatCallbacks::onEnd);
    XML_SetCharacterDataHandler(m_parser, &DXmlExpatCallbacks::onText);
    XML_SetEntityDeclHandler(m_parser, &DXmlExpatCallbacks::onEntityDeclared);
    XML_SetUnknownEncodingHandler(m_parser, &DXmlExpatCallbacks::onUnknownEncoding, nullptr);
    XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_NEVER);
#if XML_MAJOR_VERSION > 2 || (XML_MAJOR_VERSION == 2 && XML_MINOR_VERSION >= 4)
    XML_SetBillionLaughsAttackProtectionMaximumAmplification(m_parser, 20.0f);
#endif
    m_textBuffer.resize(4096);
    m_nameBuffer.resize(256);
    m_attributeBuffer.resize(1024);
}

DXmlTokenizer::~DXmlTokenizer()
{
    XML_ParserFree(m_parser);
}

bool DXmlTokenizer::run()
{
    if (m_error != NoError)
        return false;
    if (m_paused) {
        m_paused = false;
        if (!afterParse(XML_ResumeParser(m_parser)) || m_paused)
            return m_error == NoError;
    }
    while (!m_finished && !m_paused && m_error == NoError) {
        if (!afterParse(feed()))
            break;
    }
    return m_error == NoError;
}

void DXmlTokenizer::pause()
{
    XML_StopParser(m_parser, XML_TRUE);
}

int DXmlTokenizer::feed()
{
    void* buffer = XML_GetBuffer(m_parser, ChunkSize);
    if (!buffer) {
        stop(SyntaxError, Texts::tr("out of memory"));
        return XML_STATUS_ERROR;
    }
    const qint64 size = m_device ? m_device->read(static_cast<char*>(buffer), ChunkSize) : 0;
    if (size < 0) {
        m_error = ReadError;
        m_message = m_device->errorString();
        m_errorLine = XML_GetCurrentLineNumber(m_parser);
        m_errorColumn = XML_GetCurrentColumnNumber(m_parser) + 1;
        return XML_STATUS_ERROR;
    }
    m_bytesRead += size;
    m_lastChunk = size == 0;
    return XML_ParseBuffer(m_parser, int(size), m_lastChunk);
}

bool DXmlTokenizer::afterParse(int status)
{
    switch (status) {
    case XML_STATUS_SUSPENDED:
        m_paused = true;
        return true;
    case XML_STATUS_OK:
        if (m_lastChunk) {
            m_finished = true;
            return flushText();
        }
        return true;
    default:
        if (m_error == NoError)
            setExpatError();
        return false;
    }
}

void DXmlTokenizer::setExpatError()
{
    const XML_Error code = XML_GetErrorCode(m_parser);
    m_error = SyntaxError;
    m_errorLine = XML_GetCurrentLineNumber(m_parser);
    m_errorColumn = XML_GetCurrentColumnNumber(m_parser) + 1;
    const bool cutShort =
        m_lastChunk && (code == XML_ERROR_NO_ELEMENTS || code == XML_ERROR_UNCLOSED_TOKEN ||
                        code == XML_ERROR_PARTIAL_CHAR || code == XML_ERROR_UNCLOSED_CDATA_SECTION);
    if (cutShort && !m_rootSeen) {
        m_message = Texts::tr("no XML element found");
    } else if (cutShort) {
        m_truncated = true;
        m_message = Texts::tr("the input ends before its last element is closed (truncated?)");
    } else {
        m_message = QString::fromUtf8(XML_ErrorString(code));
    }
}

void DXmlTokenizer::stop(Error error, const QString& message)
{
    if (m_error != NoError)
        return;
    m_error = error;
    m_message = message;
    m_errorLine = XML_GetCurrentLineNumber(m_parser);
    m_errorColumn = XML_GetCurrentColumnNumber(m_parser) + 1;
    XML_StopParser(m_parser, XML_FALSE);
}

QString DXmlTokenizer::errorString() const
{
    return Texts::tr("line %1, column %2: %3").arg(lineNumber()).arg(columnNumber()).arg(m_message);
}

qint64 DXmlTokenizer::lineNumber() const
{
    return m_error != NoError ? m_errorLine : qint64(XML_GetCurrentLineNumber(m_parser));
}

qint64 DXmlTokenizer::columnNumber() const
{
    return m_error != NoError ? m_errorColumn : qint64(XML_GetCurrentColumnNumber(m_parser)) + 1;
}

// Decodes UTF-8 into buffer from used on, growing it as needed; returns the
// new end. ASCII is widened sixteen or eight bytes at a time; the rest goes
// to Qt's decoder.
qsizetype DXmlTokenizer::decode(const char* text, qsizetype size, std::vector<char16_t>& buffer,
                                qsizetype used)
{
    const qsizetype needed = used + size + Margin;
    if (qsizetype(buffer.size()) < needed)
        buffer.resize(size_t(qMax(needed, qsizetype(buffer.size()) * 2)));
    char16_t* out = buffer.data() + used;
    qsizetype index = 0;
#ifdef __SSE2__
    // Sixteen bytes at a time while none has its high bit set: each is
    // widened by interleaving it with a zero byte.
    const __m128i zero = _mm_setzero_si128();
    for (; index + 16 <= size; index += 16, out += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + index));
        if (_mm_movemask_epi8(bytes))
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    // Eight bytes at a time while none has its high bit set.
    for (quint64 word; index + 8 <= size; index += 8, out += 8) {
        std::memcpy(&word, text + index, 8);
        if (word & 0x8080808080808080ULL)
            break;
        for (int byte = 0; byte < 8; ++byte)
            out[byte] = char16_t(uchar(text[index + byte]));
    }
    while (index < size && uchar(text[index]) < 0x80)
        *out++ = char16_t(text[index++]);
    if (index < size) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        out = reinterpret_cast<char16_t*>(decoder.appendToBuffer(
            reinterpret_cast<QChar*>(out), QByteArrayView(text + index, size - index)));
    }
    return out - buffer.data();
}

// The name in buffer from *start on; with namespaces, the local part, the
// namespace going to m_namespaceUri.
QStringView DXmlTokenizer::decodeName(const char* name, std::vector<char16_t>& buffer,
                                      qsizetype* start)
{
    const qsizetype from = *start;
    *start = decode(name, qsizetype(qstrlen(name)), buffer, from);
    QStringView decoded(buffer.data() + from, *start - from);
    if (m_namespaces) {
        const qsizetype separator = decoded.lastIndexOf(QChar(NamespaceSeparator));
        if (separator >= 0) {
            if (&buffer == &m_nameBuffer)
                m_namespaceUri = decoded.left(separator);
            return decoded.mid(separator + 1);
        }
        if (&buffer == &m_nameBuffer)
            m_namespaceUri = QStringView();
    }
    return decoded;
}

bool DXmlTokenizer::flushText()
{
    if (m_textSize == 0)
        return true;
    const QStringView text(m_textBuffer.data() + Margin, m_textSize);
    const bool whitespace = m_textIsWhitespace;
    m_textSize = 0;
    m_textIsWhitespace = true;
    if (m_sink->characters(text, whitespace))
        return true;
    stop(Stopped, QString());
    return false;
}

void DXmlExpatCallbacks::onStart(void* data, const char* name, const char** attributes)
{
    auto* self = static_cast<DXmlTokenizer*>(data);
    if (self->m_error != DXmlTokenizer::NoError || !self->flushText())
        return;
    if (++self->m_depth > DXmlTokenizer::MaxDepth) {
        self->stop(DXmlTokenizer::TooDeep,
                   Texts::tr("elements nested deeper than %1 levels").arg(DXmlTokenizer::MaxDepth));
        return;
    }
    self->m_rootSeen = true;
    qsizetype used = Margin;
    const QStringView element = self->decodeName(name, self->m_nameBuffer, &used);
    DXmlAttributes& list = self->m_attributes;
    list.clear();
    qsizetype end = Margin;
    for (const char** attribute = attributes; *attribute; attribute += 2) {
        const QStringView local = self->decodeName(attribute[0], self->m_attributeBuffer, &end);
        const qsizetype localStart = end - local.size();
        const qsizetype valueStart = end;
        end = self->decode(attribute[1], qsizetype(qstrlen(attribute[1])), self->m_attributeBuffer,
                           end);
        list.append(localStart, local.size(), valueStart, end - valueStart);
    }
    list.setText(self->m_attributeBuffer.data());
    if (!self->m_sink->startElement(element, list))
        self->stop(DXmlTokenizer::Stopped, QString());
}

void DXmlExpatCallbacks::onEnd(void* data, const char* name)
{
    auto* self = static_cast<DXmlTokenizer*>(data);
    if (self->m_error != DXmlTokenizer::NoError || !self->flushText())
        return;
    qsizetype used = Margin;
    const QStringView element = self->decodeName(name, self->m_nameBuffer, &used);
    const bool ok = self->m_sink->endElement(element);
    --self->m_depth;
    if (!ok)
        self->stop(DXmlTokenizer::Stopped, QString());
}

void DXmlExpatCallbacks::onText(void* data, const char* text, int size)
{
    auto* self = static_cast<DXmlTokenizer*>(data);
    if (self->m_error != DXmlTokenizer::NoError)
        return;
    const qsizetype from = Margin + self->m_textSize;
    const qsizetype end = self->decode(text, size, self->m_textBuffer, from);
    self->m_textSize = end - Margin;
    if (!self->m_textIsWhitespace)
        return;
    for (qsizetype index = from; index < end; ++index) {
        if (!isBlank(self->m_textBuffer[size_t(index)])) {
            self->m_textIsWhitespace = false;
            break;
        }
    }
}

void DXmlExpatCallbacks::onEntityDeclared(void* data, const char*, int, const char*, int,
                                          const char*, const char*, const char*, const char*)
{
    static_cast<DXmlTokenizer*>(data)->stop(
        DXmlTokenizer::EntityDeclared, Texts::tr("entity declarations are not allowed: a "
                                                 "few can expand a small file into gigabytes"));
}

// Single-byte encodings other than those Expat knows, through Qt's
// decoders: each byte maps to one character or is refused.
int DXmlExpatCallbacks::onUnknownEncoding(void*, const char* name, XML_Encoding* info)
{
    QStringDecoder decoder(name, QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return XML_STATUS_ERROR;
    for (int byte = 0; byte < 256; ++byte) {
        const char c = char(byte);
        const QString decoded = decoder.decode(QByteArrayView(&c, 1));
        if (decoded.size() != 1)
            return XML_STATUS_ERROR;
        const char16_t unit = decoded.at(0).unicode();
        info->map[byte] = unit == 0xfffd || QChar::isSurrogate(unit) ? -1 : int(unit);
    }
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}
