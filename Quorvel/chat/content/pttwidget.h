#ifndef PTTWIDGET_H
#define PTTWIDGET_H

#include "model/filemessage.h"

#include <QWidget>

class DownloadWatch;
class ProgressCircle;
class QLabel;
class StaticFile;

// A voice message: a play button, the words for a voice message and the
// clip's length. Downloads the clip into the push-to-talk folder on a click
// and hands it to the voice player once it is there.
class PTTWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PTTWidget(QWidget* parent = nullptr);

    void setFileMessage(const FileMessage& message, bool byMe);

    FileMessage getFileMessage() const { return fileMessage; }
    ProgressCircle* progressCircle() const { return progress; }
    QLabel* titleLabel() const { return title; }
    QLabel* durationLabel() const { return duration; }
    // The local file a click plays.
    QString clipPath() const { return localPath; }

signals:
    void playPTT(const QString& filePath);

public slots:
    void startDownload();
    void cancelDownload();
    void downloadProgress(qlonglong downloaded, qlonglong total);
    void play();

private slots:
    void clipArrived();
    void downloadFailed();

private:
    QString durationText() const;

    QLabel* title;
    QLabel* duration;
    ProgressCircle* progress;
    FileMessage fileMessage;
    StaticFile* file;
    DownloadWatch* watch;
    QString localPath;
};

#endif // PTTWIDGET_H
