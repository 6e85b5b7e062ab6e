#ifndef KITGALLERY_H
#define KITGALLERY_H

#include <QWidget>

class QGridLayout;

// One window showing every widget of the kit in its states, for looking at
// and for screenshots. Built after the scale has been set.
class KitGallery : public QWidget
{
    Q_OBJECT
public:
    explicit KitGallery(QWidget* parent = nullptr);

    // Registers the fonts, loads the style sheet and the Persian catalogue
    // where they exist, and sets the application font; what is missing is
    // reported and skipped.
    static void prepareApplication();

private:
    void addRow(const QString& caption, QWidget* content);
    QWidget* row(std::initializer_list<QWidget*> widgets);
    QWidget* stage(const QSize& size);
    void buildLabels();
    void buildButtons();
    void buildChecks();
    void buildBusy();
    void buildDates();
    void buildPopupHosts();

    QGridLayout* grid;
    int rows = 0;
};

#endif // KITGALLERY_H
