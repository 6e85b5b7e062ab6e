#ifndef OVERLAYSTACK_H
#define OVERLAYSTACK_H

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSet>

#include <functional>

class QWidget;

// What lies over a window's content: popups of every host, the side menu,
// full-window pages, the profile panels laid over a chat. The one shown last
// is on top. Escape closes the top one of the window that has the keyboard;
// whatever closes an overlay gives the keyboard back to where it was when the
// overlay opened; each overlay that goes away is announced, so views beneath
// look again at what they show.
class OverlayStack : public QObject
{
    Q_OBJECT
public:
    static OverlayStack* instance();

    // A host shows overlay now, until it hides; dismiss is what a click
    // beside it does (empty: Escape leaves it open). Takes the keyboard into
    // it; call once it is shown.
    void opened(QWidget* overlay, std::function<void()> dismiss = {});
    // A widget that shows and hides itself as an overlay: on the stack
    // whenever it is shown. escape is its own way out (its back or close
    // button, a question's No); it goes before any host's dismiss.
    void track(QWidget* overlay, std::function<void()> escape);

    bool isOpen(const QWidget* overlay) const;
    // The top overlay over window, or null.
    QWidget* top(const QWidget* window) const;

    // Whether a person sees part of widget: its window is shown and not
    // minimised, and at some point of part (in widget's coordinates) it is
    // widget itself or one of its children that is drawn on top.
    static bool inSight(const QWidget* widget, const QRect& part);

signals:
    // An overlay went away.
    void uncovered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry
    {
        QPointer<QWidget> overlay;
        std::function<void()> dismiss;
        // Where the keyboard goes back to when the overlay goes.
        QPointer<QWidget> home;
    };

    explicit OverlayStack(QObject* parent);
    int indexOf(const QObject* overlay) const;
    void watch(QWidget* widget);
    void push(QWidget* overlay, std::function<void()> dismiss);
    void remove(int index);
    void forget(QObject* widget);
    // Escape pressed in a widget of window: true when an overlay took it.
    bool escape(QWidget* window);

    friend class EscapeKey;
    QObject* keys;
    QList<Entry> entries;
    QHash<const QObject*, std::function<void()>> ownEscapes;
    QSet<const QObject*> watched;
};

#endif // OVERLAYSTACK_H
