#ifndef DXMLSINK_H
#define DXMLSINK_H

#include <QStringView>

class DXmlAttributes;

// What a DXmlTokenizer reports, event by event. Each call returns false to
// stop the parse; the sink then keeps the reason. Views are valid during
// the call only.
class DXmlSink
{
public:
    virtual ~DXmlSink() = default;
    // name as written, or the local name when namespaces are processed.
    virtual bool startElement(QStringView name, const DXmlAttributes& attributes) = 0;
    virtual bool endElement(QStringView name) = 0;
    // All the text between two tags in one piece (character references,
    // entities and CDATA sections resolved); whitespace when it is made
    // of spaces, tabs and line breaks only.
    virtual bool characters(QStringView text, bool whitespace) = 0;
};

#endif
