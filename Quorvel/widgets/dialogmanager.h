#ifndef DIALOGMANAGER_H
#define DIALOGMANAGER_H

#include <QPointer>
#include <QWidget>

// A screen's own modal layer: a translucent backdrop over its parent hosting
// one dialog, centred. The dialog is never owned by the layer.
class DialogManager : public QWidget
{
    Q_OBJECT
public:
    explicit DialogManager(QWidget* parent);
    ~DialogManager() override;

    void showDialog(QWidget* dialog);
    QWidget* getActiveDialog() const { return activeDialog; }

private slots:
    void dialogDestroyed(QObject* dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void arrange();
    // What a click on the backdrop does: the dialog goes.
    void dismiss();

    QPointer<QWidget> activeDialog;
};

#endif // DIALOGMANAGER_H
