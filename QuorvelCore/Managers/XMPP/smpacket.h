#ifndef SMPACKET_H
#define SMPACKET_H

#include "foundation/quorvelcore_export.h"

#include <QByteArray>
#include <QMetaType>

class QDomElement;
class QXmlStreamWriter;

// One stream-management element (urn:xmpp:sm:3): enable, enabled, a request
// "r" or an answer "a" carrying the server's stanza count h.
class QUORVELCORE_EXPORT SMPacket
{
public:
    enum Type
    {
        enable = 0,
        enabled = 1,
        r = 2,
        a = 3,
        invalid = 4
    };

    SMPacket() = default;
    explicit SMPacket(Type type, unsigned int h = 0) : type(type), h(h) {}

    Type getType() const { return type; }
    void setType(Type value) { type = value; }
    unsigned int getH() const { return h; }
    void setH(unsigned int value) { h = value; }

    // False unless the element is in the urn:xmpp:sm:3 namespace and is one of
    // enable, enabled, r or a (any other tag sets the type to invalid). For an
    // "a" whose h is not a decimal number the type becomes invalid as well.
    bool parse(const QDomElement& element);
    // enable, r and a are written; enabled and invalid are not (false).
    bool toXml(QXmlStreamWriter* writer) const;
    bool toByteArray(QByteArray* out) const;

    static const char* const ns;

private:
    Type type = a;
    unsigned int h = 0;
};

Q_DECLARE_METATYPE(SMPacket)

#endif // SMPACKET_H
