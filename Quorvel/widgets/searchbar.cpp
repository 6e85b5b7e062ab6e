#include "widgets/searchbar.h"

#include "widgets/fonts.h"
#include "widgets/iconbutton.h"
#include "widgets/interfacescale.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QLineEdit>

SearchBar::SearchBar(QWidget* parent)
    : QWidget(parent), input(new QLineEdit(this)),
      searchIcon(new IconButton(QSize(scaleValue(32), scaleValue(32)),
                                QStringLiteral(":/Images/ic_search.png"), this)),
      clearButton(new IconButton(QSize(20, 20), QStringLiteral(":/Images/close_black.png"), this))
{
    input->setAccessibleName(tr("_Search"));
    searchIcon->setAccessibleName(tr("_Search"));
    clearButton->setAccessibleName(tr("_ClearSearch"));
    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(1, 1, 1, 1);

    searchIcon->setFixedSize(scaleValue(32), scaleValue(32));

    input->setPlaceholderText(tr("SearchBarHintText"));
    input->setFont(Fonts::getFont(baseFontSize));
    input->setAttribute(Qt::WA_MacShowFocusRect, false);
    input->setObjectName(QStringLiteral("SearchBarSearchInput"));
    input->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    connect(input, &QLineEdit::textChanged, this, &SearchBar::onTextChanged);

    clearButton->setAlignment(Qt::AlignCenter);
    clearButton->setFixedSize(searchIconSize, searchIconSize);
    connect(clearButton, &IconButton::onClick, this, &SearchBar::clear);
    clearButton->hide();

    layout->addWidget(searchIcon);
    layout->addWidget(input);
    layout->addWidget(clearButton);
}

void SearchBar::onTextChanged(const QString& text)
{
    clearButton->setVisible(!text.isEmpty());
    emit textChanged(text);
}

void SearchBar::clear()
{
    input->clear();
}

void SearchBar::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
