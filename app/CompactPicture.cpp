#include "CompactPicture.h"

#include "BitmapImage.h"

#include <unordered_map>
#include <vector>

QImage CompactPicture(const Bitmap& bitmap)
{
    const int width = bitmap.Width(), height = bitmap.Height();
    QImage indexed(width, height, QImage::Format_Indexed8);
    std::unordered_map<QRgb, uchar> index;
    QList<QRgb> table;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = bitmap.Row(y);
        uchar* to = indexed.scanLine(y);
        for (int x = 0; x < width; ++x, from += 3) {
            const QRgb c = qRgb(from[2], from[1], from[0]);
            auto found = index.find(c);
            if (found == index.end()) {
                if (table.size() == 256)
                    return ToQImage(bitmap).convertToFormat(QImage::Format_RGB32);
                found = index.emplace(c, uchar(table.size())).first;
                table.push_back(c);
            }
            to[x] = found->second;
        }
    }
    indexed.setColorTable(table);
    return indexed;
}

QImage DevicePicture(const QImage& picture, int factor)
{
    const int width = picture.width(), height = picture.height();
    QImage out(width * factor, height * factor, QImage::Format_RGB32);
    const bool indexed = picture.format() == QImage::Format_Indexed8;
    const QList<QRgb> table = indexed ? picture.colorTable() : QList<QRgb>();
    std::vector<QRgb> row(std::size_t(width) * std::size_t(factor));
    for (int y = 0; y < height; ++y) {
        const uchar* from = picture.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            const QRgb c = indexed ? table[from[x]] : reinterpret_cast<const QRgb*>(from)[x];
            for (int i = 0; i < factor; ++i)
                row[std::size_t(x * factor + i)] = c;
        }
        for (int i = 0; i < factor; ++i)
            std::copy(row.begin(), row.end(), reinterpret_cast<QRgb*>(out.scanLine(y * factor + i)));
    }
    out.setDevicePixelRatio(factor);
    return out;
}
