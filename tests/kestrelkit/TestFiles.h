#pragma once

#include <QFile>
#include <QMap>
#include <QString>

#include <zip.h>

namespace kestrelkit::test {

// The file's contents as UTF-8 text; empty when it cannot be read.
inline QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// name -> contents of every file entry of the archive at `path`; directories map to "<dir>".
// Empty when it cannot be opened.
inline QMap<QString, QByteArray> zipEntries(const QString &path)
{
    QMap<QString, QByteArray> out;
    int error = 0;
    zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!z)
        return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        const QString name = QString::fromUtf8(zip_get_name(z, static_cast<zip_uint64_t>(i), 0));
        if (name.endsWith(QLatin1Char('/'))) {
            out.insert(name, "<dir>");
            continue;
        }
        zip_stat_t st;
        zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st);
        QByteArray data(static_cast<qsizetype>(st.size), '\0');
        zip_file_t *f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0);
        zip_fread(f, data.data(), st.size);
        zip_fclose(f);
        out.insert(name, data);
    }
    zip_close(z);
    return out;
}

} // namespace kestrelkit::test
