#ifndef EMOJIBUTTONSPANEL_H
#define EMOJIBUTTONSPANEL_H

#include <QMap>
#include <QString>
#include <QStringList>
#include <QWidget>

class EmojiButton;
class QGridLayout;
class QLabel;

// One page of the emoji picker: a title over a grid of emoji, right to left.
// A category page is built in two steps: setCategory reads its list and keeps
// the page at the height it will have, fill() makes its buttons (the picker
// fills a page when it first comes into view).
class EmojiButtonsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit EmojiButtonsPanel(QWidget* parent);

    // The lines of a list resource without empty ones; empty when it cannot
    // be read.
    static QStringList readList(const QString& resource);
    static QString cellKey(int row, int column);

    void setCategory(const QString& name);
    // Makes the category's buttons, once.
    void fill();
    bool isFilled() const { return codes.isEmpty() || buttons.size() == codes.size(); }
    void setTitle(const QString& name);
    void setEmojis(const QStringList& paths);

    QString getCategory() const { return category; }
    QLabel* titleLabel() const { return title; }
    EmojiButton* buttonAt(int row, int column) const { return buttons.value(cellKey(row, column)); }
    int buttonCount() const { return buttons.size(); }

signals:
    void emojiClicked(const QString& fileName);

private:
    void place(EmojiButton* button, int row, int column);
    // The height of the page with all its rows: its title and margins, and
    // one row of buttons of the category's first picture per columns codes.
    int filledHeight() const;

    QString category;
    QStringList codes;
    QLabel* title;
    QGridLayout* grid;
    QMap<QString, EmojiButton*> buttons;
};

#endif // EMOJIBUTTONSPANEL_H
