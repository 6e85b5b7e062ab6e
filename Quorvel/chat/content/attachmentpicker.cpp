#include "chat/content/attachmentpicker.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QStandardPaths>

QString AttachmentPicker::allFilesFilter()
{
    // Named in the user's language like the rest of the dialog; the pattern
    // is no catalogue's business.
    return QCoreApplication::translate("ChatWindow", "_AllFiles") + QStringLiteral(" (*)");
}

QStringList AttachmentPicker::pickFiles(QWidget* parent)
{
    const QStringList documents =
        QStandardPaths::standardLocations(QStandardPaths::DocumentsLocation);
    return QFileDialog::getOpenFileNames(parent,
                                         QCoreApplication::translate("ChatWindow", "_selectFiles"),
                                         documents.value(0), allFilesFilter());
}
