#ifndef SEARCHBAR_H
#define SEARCHBAR_H

#include <QWidget>

class IconButton;
class QLineEdit;

// The side panel's search field: an icon, the input and a clear button that
// shows while there is text.
class SearchBar : public QWidget
{
    Q_OBJECT
public:
    explicit SearchBar(QWidget* parent = nullptr);

    QLineEdit* getInput() const { return input; }
    IconButton* getClearButton() const { return clearButton; }

signals:
    void textChanged(const QString& text);

public slots:
    void onTextChanged(const QString& text);
    void clear();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* input;
    IconButton* searchIcon;
    IconButton* clearButton;
};

#endif // SEARCHBAR_H
