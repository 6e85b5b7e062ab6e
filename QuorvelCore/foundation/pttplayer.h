#ifndef PTTPLAYER_H
#define PTTPLAYER_H

#include "foundation/quorvelcore_export.h"

#include <QObject>
#include <QString>
#include <QStringList>

// Plays a voice clip by handing the file to the desktop's default application.
// Only audio files inside the program's own download folders are handed on:
// the application-data "Downloads" folder with its subfolders, and
// "Quorvel Downloads" in the user's download folder. A process-wide singleton.
class QUORVELCORE_EXPORT PTTPlayer : public QObject
{
    Q_OBJECT
public:
    static PTTPlayer* getInstance();
    static void deleteInstance();

    // Lower-case file extensions taken as audio.
    static QStringList audioExtensions();
    // The folders whose files (at any depth) may be played.
    static QStringList playableFolders();
    // True for an existing audio file inside one of those folders (after
    // resolving links and "..").
    static bool isPlayable(const QString& filePath);

public slots:
    // Returns whether the file was handed to the desktop.
    bool play(const QString& filePath);
    // The external player cannot be paused from here: does nothing.
    void pause(const QString& filePath);

signals:
    void paused(const QString& filePath);

private:
    explicit PTTPlayer(QObject* parent = nullptr);

    static PTTPlayer* instance;
};

#endif // PTTPLAYER_H
