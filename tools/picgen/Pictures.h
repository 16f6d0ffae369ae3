// The program's own artwork, drawn in code so that the pictures need no image files
// in the sources and follow the skin's palette. Captions are left out: the widgets
// paint them.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

namespace picgen {

struct PictureFile {
    QString file;  // file name inside the pic folder
    QSize size;
};

// Every picture the generator writes.
const QVector<PictureFile>& pictureFiles();

// The picture for one file name of the list; a null image for any other name.
QImage drawPicture(const QString& file);

// The program's icon for the desktop's menus and launchers: an open book with a check
// mark on a blue tile, on a transparent ground, `side` pixels square.
QImage drawIcon(int side);

// Writes the icon as PNG to `file`, creating its folder when missing.
bool writeIcon(int side, const QString& file);

// Writes every picture as BMP into `dir`, creating it when missing. Returns the
// files that could not be written (empty on success).
QStringList writePictures(const QString& dir);

}  // namespace picgen
