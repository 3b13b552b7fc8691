#pragma once

#include "velmora/discovery/DiscoveryEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

// A private copy of tests/fixtures/discovery/tree, so tests can change it freely, and
// an environment whose every folder points into it.
class DiscoveryFixture {
public:
    DiscoveryFixture()
    {
        const QString source = QStringLiteral(VELMORA_FIXTURES "/discovery/tree");
        QDirIterator it(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = root() + file.mid(source.size());
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(file, target);
        }
    }

    [[nodiscard]] QString root() const { return m_dir.path(); }
    [[nodiscard]] QString path(const QString &relative) const { return root() + '/' + relative; }

    [[nodiscard]] velmora::DiscoveryEnvironment environment() const
    {
        velmora::DiscoveryEnvironment env;
        env.homePath = path(QStringLiteral("home"));
        env.fixedScopes = {path(QStringLiteral("Applications")), path(QStringLiteral("System/Applications")),
                           path(QStringLiteral("System/Library/CoreServices"))};
        env.xdgDataHome = path(QStringLiteral("home/.local/share"));
        env.xdgDataDirs = {path(QStringLiteral("usr/share"))};
        env.exportFolders = {};
        env.currentDesktop = QStringLiteral("GNOME");
        env.mdutilProgram = path(QStringLiteral("no-mdutil"));
        env.coalesceMilliseconds = 50;
        return env;
    }

    // Writes a file atomically, creating its folder.
    void write(const QString &relative, const QByteArray &contents) const
    {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).path());
        QSaveFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(contents);
        QVERIFY(out.commit());
    }

    // The stub programs that the fixture entries' Exec lines name (GIO hides entries
    // whose program is not on PATH).
    static void putStubProgramsOnPath()
    {
        const QByteArray bin = VELMORA_FIXTURES "/discovery/bin";
        const QByteArray path = qgetenv("PATH");
        if (!path.startsWith(bin))
            qputenv("PATH", bin + ':' + path);
    }

private:
    QTemporaryDir m_dir;
};
