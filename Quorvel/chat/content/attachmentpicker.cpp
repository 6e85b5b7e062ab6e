#include "chat/content/attachmentpicker.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QStandardPaths>

QString AttachmentPicker::allFilesFilter()
{
    return QStringLiteral("All files (*)");
}

QStringList AttachmentPicker::pickFiles(QWidget* parent)
{
    const QStringList documents =
        QStandardPaths::standardLocations(QStandardPaths::DocumentsLocation);
    return QFileDialog::getOpenFileNames(parent,
                                         QCoreApplication::translate("ChatWindow", "_selectFiles"),
                                         documents.value(0), allFilesFilter());
}
