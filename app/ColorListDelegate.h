#pragma once
// Paints the colour list's rows through TfrmMain::lstColorsDrawItem.

#include <QStyledItemDelegate>

class TfrmMain;

class ColorListDelegate : public QStyledItemDelegate {
public:
    ColorListDelegate(TfrmMain& form, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static constexpr int RowHeight = 18;

private:
    TfrmMain& form_;
};
