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

    // The two columns of sections, for screenshots of each.
    QList<QWidget*> columnWidgets() const;
    // Shows the gallery's toast again (a toast hides after two seconds).
    void showToast();

private:
    // Sections fill two columns; the second starts with startSecondColumn.
    void addRow(const QString& caption, QWidget* content);
    void startSecondColumn();
    QWidget* row(std::initializer_list<QWidget*> widgets);
    QWidget* stage(const QSize& size);
    void buildLabels();
    void buildButtons();
    void buildChecks();
    void buildBusy();
    void buildDates();
    void buildPopupHosts();
    void buildTextViews();
    void buildAvatars();
    void buildProgress();
    void buildFramedPopups();

    void setUpGrid();

    QList<QWidget*> columns;
    QGridLayout* grid = nullptr;
    int rows = 0;
};

#endif // KITGALLERY_H
