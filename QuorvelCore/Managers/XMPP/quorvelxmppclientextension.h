#ifndef QUORVELXMPPCLIENTEXTENSION_H
#define QUORVELXMPPCLIENTEXTENSION_H

#include "foundation/quorvelcore_export.h"

#include <QXmppClientExtension.h>

// An extension that handles nothing.
class QUORVELCORE_EXPORT QuorvelXMPPClientExtension : public QXmppClientExtension
{
    Q_OBJECT
public:
    QuorvelXMPPClientExtension() = default;

    bool handleStanza(const QDomElement&) override { return false; }
};

#endif // QUORVELXMPPCLIENTEXTENSION_H
