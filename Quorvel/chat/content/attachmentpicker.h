#ifndef ATTACHMENTPICKER_H
#define ATTACHMENTPICKER_H

#include <QString>
#include <QStringList>

class QWidget;

// The file dialog a chat window opens to attach files.
class AttachmentPicker
{
public:
    // Matches every file, also one without an extension ("*.*" would not).
    static QString allFilesFilter();
    // The chosen files; empty when the dialog was cancelled.
    static QStringList pickFiles(QWidget* parent);
};

#endif // ATTACHMENTPICKER_H
