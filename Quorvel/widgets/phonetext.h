#ifndef PHONETEXT_H
#define PHONETEXT_H

#include <QString>

class Contact;

// How a phone number and a person named by one are shown, the same on every
// screen (chat rows, pickers, bubbles, headers, profiles): "+" and the
// digits, read left to right also inside right-to-left text, so the plus
// never lands at the far end ("989120000002+").
namespace PhoneText {

// The number of the digits given (with or without their "+"), kept to a
// left-to-right run of its own; any other id as it is, its direction
// controls visible.
QString number(const QString& digits);
// Whether the id is a phone number's digits, with or without its "+".
bool isNumber(const QString& id);
// A contact as shown: the name the user gave or the nickname, its direction
// controls visible, or the number while nothing names him.
QString name(const Contact& contact);
// Someone known by a user id: the name, its controls visible, when there is
// one, else the id as a number; a name that is only a number ("+98...", or
// the id itself) reads as one too, and one already shown as a number stays.
QString nameOr(const QString& name, const QString& userId);

} // namespace PhoneText

#endif // PHONETEXT_H
