// Reads the entries of a zip file (an OpenDocument file) back, stored or deflated.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QString>

#include <zlib.h>

inline quint32 ZipWord(const QByteArray& b, qsizetype at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | quint8(b.at(at + i));
    return v;
}

// Entry name -> bytes; empty when the file is no zip.
inline QMap<QString, QByteArray> ReadZipEntries(const QString& path) {
    QMap<QString, QByteArray> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return entries;
    const QByteArray zip = file.readAll();
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0 || end + 22 > zip.size()) return entries;
    const int count = int(ZipWord(zip, end + 10, 2));
    qsizetype at = ZipWord(zip, end + 16, 4);
    for (int i = 0; i < count && at + 46 <= zip.size(); ++i) {
        const int method = int(ZipWord(zip, at + 10, 2));
        const quint32 packed = ZipWord(zip, at + 20, 4);
        const quint32 size = ZipWord(zip, at + 24, 4);
        const int nameLength = int(ZipWord(zip, at + 28, 2));
        const int extra = int(ZipWord(zip, at + 30, 2));
        const int comment = int(ZipWord(zip, at + 32, 2));
        const qsizetype local = ZipWord(zip, at + 42, 4);
        const QString name = QString::fromUtf8(zip.mid(at + 46, nameLength));
        const qsizetype data =
            local + 30 + ZipWord(zip, local + 26, 2) + ZipWord(zip, local + 28, 2);
        const QByteArray raw = zip.mid(data, packed);
        QByteArray out;
        if (method == 0) {
            out = raw;
        } else if (method == 8) {
            out.resize(size);
            z_stream z{};
            inflateInit2(&z, -MAX_WBITS);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.constData()));
            z.avail_in = uInt(raw.size());
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(out.size());
            inflate(&z, Z_FINISH);
            inflateEnd(&z);
        }
        entries.insert(name, out);
        at += 46 + nameLength + extra + comment;
    }
    return entries;
}
