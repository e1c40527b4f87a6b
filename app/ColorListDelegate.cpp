#include "ColorListDelegate.h"

#include "Unit1.h"

#include <QPainter>

ColorListDelegate::ColorListDelegate(TfrmMain& form, QObject* parent) : QStyledItemDelegate(parent), form_(form) {}

void ColorListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    form_.lstColorsDrawItem(*painter, index.row(), option.rect, option.state.testFlag(QStyle::State_Selected),
                            option.state.testFlag(QStyle::State_HasFocus));
    painter->restore();
}

QSize ColorListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return {option.rect.width(), RowHeight};
}
