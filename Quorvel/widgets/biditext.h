#ifndef BIDITEXT_H
#define BIDITEXT_H

#include <QString>

// Text from peers with its explicit direction controls made harmless.
// Embeddings, overrides and isolates (U+202A to U+202E, U+2066 to U+2069)
// can make a name look like another ("invoice_<RLO>fdp.exe" shows as
// "invoice_exe.pdf"); the marks (LRM, RLM, ALM) only nudge neutral
// characters and stay.
namespace BidiText {

// A name or file name: each control is replaced by a visible mark naming it,
// so the name reads in its true order and shows that it held a control.
QString visibleControls(const QString& name);
// Message text: keeps its controls, but every line closes the embeddings and
// isolates it opened, so nothing it holds reorders what follows it.
QString closedControls(const QString& text);
// Message text as shown: every control is kept, confined to a run of its own
// so that it reorders nothing ("invoice<RLO>gnp.exe" reads as written, not
// as "invoiceexe.png"), and nothing the text holds reaches past it.
QString confinedControls(const QString& text);
// The text that confinedControls was given, from its result or a piece of it
// (a copied selection): the runs it added are taken out again.
QString unconfinedControls(const QString& shown);
// Whether the text holds an explicit direction control.
bool hasControls(const QString& text);

} // namespace BidiText

#endif // BIDITEXT_H
