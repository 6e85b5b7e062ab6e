#include "shell/contentpanel.h"

#include "model/globalconstants.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/stylesheetpaint.h"

namespace {
const QString defaultBackground = QStringLiteral(":/Images/img_default_chat_bg.png");
}

ContentPanel::ContentPanel(QWidget* parent)
    : QWidget(parent), backgroundLabel(new QLabel(this)), placeholder(this)
{
    setObjectName(QStringLiteral("ContentPanel"));
    setMinimumWidth(450);
    const QString saved = GlobalConstants::getMainSettings().getChatBackgroundPath();
    if (saved.isEmpty() || saved == defaultBackground)
        background = QPixmap(defaultBackground);
    else
        downloadBackground(saved);
    backgroundLabel->lower();

    placeholder.setObjectName(QStringLiteral("SelectChat"));
    placeholder.setText(tr("_PleaseSelectAChat"));
    placeholder.setFont(Fonts::getFont(baseFontSize));
    placeholder.setFixedHeight(baseFontSize);
    placeholder.setStyleSheet(QStringLiteral("border-radius:%1px;").arg(baseFontSize / 2));
    placeholder.setContentsMargins(10, 0, 10, 0);
    placeholder.adjustSize();
    updatePlaceholder();
}

void ContentPanel::downloadBackground(const QString& url)
{
    connect(&backgroundFile, &StaticFile::imageReady, this, &ContentPanel::imageReady,
            Qt::UniqueConnection);
    connect(&backgroundFile, &StaticFile::downloadError, this, &ContentPanel::downloadError,
            Qt::UniqueConnection);
    connect(&backgroundFile, &StaticFile::downloadCanceled, this, &ContentPanel::downloadCanceled,
            Qt::UniqueConnection);
    backgroundFile.setUrl(url, StaticFile::LocalFirst, StaticFile::AvatarThumbnails, false);
}

void ContentPanel::backgroundChanged(const QString& url)
{
    if (url == QLatin1String("Default")) {
        // A download still running must not replace the choice made now.
        disconnect(&backgroundFile, nullptr, this, nullptr);
        background = QPixmap(defaultBackground);
        fitBackground();
        return;
    }
    downloadBackground(url);
}

void ContentPanel::imageReady(const QImage& image)
{
    disconnect(&backgroundFile, nullptr, this, nullptr);
    if (image.isNull())
        return;
    background =
        QPixmap::fromImage(image, Qt::ColorOnly | Qt::DiffuseAlphaDither | Qt::NoFormatConversion);
    fitBackground();
}

int ContentPanel::backgroundHeight(const QPixmap& pixmap, int width) const
{
    if (pixmap.isNull() || pixmap.width() == 0)
        return height();
    return int(qint64(pixmap.height()) * width / pixmap.width());
}

int ContentPanel::backgroundWidth(const QPixmap& pixmap, int height) const
{
    if (pixmap.isNull() || pixmap.height() == 0)
        return width();
    return int(qint64(pixmap.width()) * height / pixmap.height());
}

void ContentPanel::fitBackground()
{
    if (background.isNull())
        return;
    backgroundLabel->resize(size());
    const int fitHeight = backgroundHeight(background, width());
    const QSize target = height() > fitHeight
                             ? QSize(backgroundWidth(background, height()), height())
                             : QSize(width(), fitHeight);
    backgroundLabel->setPixmap(
        background.scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    backgroundLabel->lower();
}

void ContentPanel::setContentWidget(ChatWindow* window)
{
    if (current) {
        current->hideChatWindow();
        current = nullptr;
    }
    if (window) {
        current = window;
        window->setParent(this);
        window->setGeometry(0, 0, width(), height());
        window->showChatWindow();
        window->raise();
        window->focusInput();
    }
    updatePlaceholder();
}

void ContentPanel::updatePlaceholder()
{
    if (current) {
        placeholder.hide();
        return;
    }
    placeholder.move(width() / 2 - placeholder.width() / 2,
                     height() / 2 - placeholder.height() / 2);
    placeholder.show();
    placeholder.raise();
}

void ContentPanel::forgetChatById(const QString& id)
{
    if (current && current->getChatId() == id) {
        current->hideChatWindow();
        current = nullptr;
        updatePlaceholder();
    }
}

void ContentPanel::closeChatById(const QString& id)
{
    forgetChatById(id);
}

void ContentPanel::setWindowActive(bool active)
{
    windowActive = active;
    if (active && current) {
        current->sendSeenIfActive();
        current->startLikeViewAnalysis();
    }
}

void ContentPanel::selectSidePanelWidget()
{
    if (current)
        current->selectSidePanelWidget();
}

void ContentPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (current)
        current->setGeometry(0, 0, width(), height());
    fitBackground();
    updatePlaceholder();
}

void ContentPanel::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
