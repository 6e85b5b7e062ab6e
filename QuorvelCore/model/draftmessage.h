#ifndef DRAFTMESSAGE_H
#define DRAFTMESSAGE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractjsonable.h"
#include "model/conversationtype.h"

// Holder of the conversation kind of a draft. It implements none of the
// serialisable operations, so it is only a base for concrete draft kinds.
class QUORVELCORE_EXPORT DraftMessage : public AbstractJsonable
{
public:
    DraftMessage() = default;

    ConversationType::Type getConversationType() const { return conversationType; }
    void setConversationType(ConversationType::Type value) { conversationType = value; }

protected:
    ~DraftMessage() = default;

private:
    ConversationType::Type conversationType = ConversationType::NONE;
};

#endif // DRAFTMESSAGE_H
