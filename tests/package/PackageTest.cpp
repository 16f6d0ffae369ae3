// The Debian package made from this build, looked at the way a user's system sees it:
// what it holds, what it depends on, whether the desktop accepts its entry and
// metainfo, and whether the program starts from an extracted copy on a fresh home.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <sys/types.h>
#include <unistd.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString output;
};

Outcome run(const QString& program, const QStringList& args, int timeoutMs = 120000) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    Outcome result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.output = QStringLiteral("timed out: ") + program;
        return result;
    }
    result.output = QString::fromLocal8Bit(process.readAll());
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

const QString kProgramFolder = QStringLiteral("usr/lib/examstudy");
const QString kBankName = QStringLiteral("QBDATA000001.db");

// The package is made once for the whole run into a scratch folder, and extracted
// beside it as a root a user's system would install.
struct Package {
    QTemporaryDir work;
    QString deb;
    QString root;
    QString error;  // why there is no package; empty when there is one
};

const Package& package() {
    static const std::unique_ptr<Package> made = [] {
        auto p = std::make_unique<Package>();
        if (!p->work.isValid()) {
            p->error = QStringLiteral("no scratch folder");
            return p;
        }
        const QString out = p->work.filePath(QStringLiteral("out"));
        const Outcome cpack = run(
            QStringLiteral(CPACK_COMMAND),
            {QStringLiteral("--config"), QStringLiteral(CPACK_CONFIG), QStringLiteral("-B"), out});
        const QStringList debs = QDir(out).entryList({QStringLiteral("*.deb")});
        if (cpack.exitCode != 0 || debs.size() != 1) {
            p->error = QStringLiteral("cpack: ") + cpack.output;
            return p;
        }
        p->root = p->work.filePath(QStringLiteral("root"));
        const Outcome extract =
            run(QStringLiteral(DPKG_DEB),
                {QStringLiteral("-x"), QDir(out).filePath(debs.first()), p->root});
        if (extract.exitCode != 0) {
            p->error = QStringLiteral("dpkg-deb -x: ") + extract.output;
            return p;
        }
        p->deb = QDir(out).filePath(debs.first());
        return p;
    }();
    return *made;
}

class PackageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(package().error.isEmpty()) << package().error.toStdString();
        deb = package().deb;
        root = package().root;
        work = &package().work;
    }

    QString deb;
    QString root;
    const QTemporaryDir* work = nullptr;
};

TEST_F(PackageTest, HoldsTheProgramFolderTheLauncherAndTheDesktopFiles) {
    const Outcome list = run(QStringLiteral(DPKG_DEB), {QStringLiteral("-c"), deb});
    ASSERT_EQ(list.exitCode, 0) << list.output.toStdString();
    const QString appId = QStringLiteral(APP_ID);
    const QStringList expected = {
        // A link: a copy of the executable in bin/ would look for its pictures there.
        QStringLiteral(" ./usr/bin/examstudy -> ../lib/examstudy/examstudy\n"),
        QStringLiteral(" ./usr/lib/examstudy/examstudy\n"),
        QStringLiteral(" ./usr/lib/examstudy/shipped/QBDATA000001.db\n"),
        QStringLiteral(" ./usr/lib/examstudy/pic/main.menu\n"),
        QStringLiteral(" ./usr/lib/examstudy/pic/dlgback.bmp\n"),
        QStringLiteral(" ./usr/lib/examstudy/sound/乐曲01.mid\n"),
        QStringLiteral(" ./usr/lib/examstudy/htm/help.htm\n"),
        QStringLiteral(" ./usr/lib/examstudy/upgrade/sample-upgrade.db\n"),
        QStringLiteral(" ./usr/share/applications/") + appId + QStringLiteral(".desktop\n"),
        QStringLiteral(" ./usr/share/icons/hicolor/256x256/apps/examstudy.png\n"),
        QStringLiteral(" ./usr/share/icons/hicolor/48x48/apps/examstudy.png\n"),
        QStringLiteral(" ./usr/share/metainfo/") + appId + QStringLiteral(".metainfo.xml\n"),
    };
    for (const QString& line : expected) {
        EXPECT_TRUE(list.output.contains(line)) << line.toStdString() << "\nin\n"
                                                << list.output.toStdString();
    }
}

// The linked libraries come from the binaries; what the program only loads or reads at
// run time is named by hand.
TEST_F(PackageTest, DependsOnTheLinkedLibrariesAndTheRunTimeParts) {
    const Outcome depends =
        run(QStringLiteral(DPKG_DEB), {QStringLiteral("-f"), deb, QStringLiteral("Depends")});
    ASSERT_EQ(depends.exitCode, 0) << depends.output.toStdString();
    const char* const needed[] = {
        "libqt6widgets6",
        "libqt6network6",
        "libsqlite3-0",
        "libfluidsynth3",
        "libc6",
        "qt6-qpa-plugins",
        "qt6-translations-l10n",
        "fonts-arphic-uming",
        "timgm6mb-soundfont",
    };
    const QStringList names = depends.output.split(QLatin1Char(','));
    for (const char* package : needed) {
        bool found = false;
        for (const QString& entry : names)
            found =
                found || entry.trimmed().section(QLatin1Char(' '), 0, 0) == QLatin1String(package);
        EXPECT_TRUE(found) << package << " not in " << depends.output.toStdString();
    }
    const Outcome section =
        run(QStringLiteral(DPKG_DEB), {QStringLiteral("-f"), deb, QStringLiteral("Section")});
    EXPECT_EQ(section.output.trimmed(), QStringLiteral("education"));
}

// The desktop entry and the metainfo as installed: each valid on its own, and the
// metainfo's launchable found beside it in the tree.
TEST_F(PackageTest, DesktopEntryAndMetainfoPassTheValidators) {
    const QString appId = QStringLiteral(APP_ID);
    const Outcome desktop = run(
        QStringLiteral(DESKTOP_FILE_VALIDATE),
        {root + QStringLiteral("/usr/share/applications/") + appId + QStringLiteral(".desktop")});
    EXPECT_EQ(desktop.exitCode, 0) << desktop.output.toStdString();
    EXPECT_TRUE(desktop.output.trimmed().isEmpty()) << desktop.output.toStdString();

    const Outcome metainfo = run(QStringLiteral(APPSTREAMCLI), {QStringLiteral("validate-tree"),
                                                                QStringLiteral("--no-net"), root});
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.output.toStdString();
}

// One start of an extracted copy through its usr/bin/examstudy link, headless, with a
// home and a data folder nobody has used and a user name no other running copy has.
// Killed when the test ends.
class Launch {
  public:
    Launch(const QString& root, const QString& home, const QStringList& prefix = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
        env.insert(QStringLiteral("TMPDIR"), home);
        env.insert(QStringLiteral("USER"), QStringLiteral("examstudy-package-test"));
        env.insert(QStringLiteral("LOGNAME"), QStringLiteral("examstudy-package-test"));
        process_.setProcessEnvironment(env);
        process_.setWorkingDirectory(home);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        QStringList command = prefix;
        command << root + QStringLiteral("/usr/bin/examstudy");
        process_.start(command.takeFirst(), command);
        if (!process_.waitForStarted(10000)) return;
        // A crash ends it within this time. A missing menu file or bank keeps it up
        // too, waiting on its message box: the checks on the bank tell those apart.
        stayedUp_ = !process_.waitForFinished(4000);
    }
    ~Launch() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    bool stayedUp() const { return stayedUp_; }
    std::string report() {
        return "exit code " + std::to_string(process_.exitCode()) + "\n" +
               process_.readAll().toStdString();
    }

  private:
    QProcess process_;
    bool stayedUp_ = false;
};

// A fresh home, private to its user as a runtime folder must be.
bool makeHome(const QString& home) {
    return QDir().mkpath(home) &&
           QFile::setPermissions(home, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString seededBank(const QString& home) {
    return home + QStringLiteral("/.local/share/examstudy/") + kBankName;
}
QString programFolderBank(const QString& root) {
    return root + u'/' + kProgramFolder + QStringLiteral("/shipped/") + kBankName;
}
// The bank in use has its write-ahead log beside it.
bool opened(const QString& bank) {
    return QFileInfo::exists(bank + QStringLiteral("-wal")) ||
           QFileInfo::exists(bank + QStringLiteral("-shm"));
}

// An extracted copy its user may write to, like the build folder.
TEST_F(PackageTest, ExtractedCopyStartsAndOpensABank) {
    const QString home = work->filePath(QStringLiteral("home"));
    ASSERT_TRUE(makeHome(home));
    Launch launch(root, home);
    ASSERT_TRUE(launch.stayedUp()) << launch.report();
    // Through the link it found its menu file and then the shipped bank, copied into
    // the fresh data folder; a program that looked for its resources in usr/bin/
    // would have stopped before opening any bank.
    EXPECT_TRUE(opened(seededBank(home))) << launch.report();
    EXPECT_FALSE(opened(programFolderBank(root)));
}

// Installed: the program folder belongs to the system and the user cannot write to it,
// so the first start copies the shipped bank into the user's data folder and works on
// that copy, leaving the shipped one as it came. Root may write anywhere, so as root
// the program is run as nobody.
TEST_F(PackageTest, InstalledCopySeedsTheUserDataFolderOnFirstStart) {
    const QString installed = work->filePath(QStringLiteral("installed"));
    const Outcome extract = run(QStringLiteral(DPKG_DEB), {QStringLiteral("-x"), deb, installed});
    ASSERT_EQ(extract.exitCode, 0) << extract.output.toStdString();
    const QString home = work->filePath(QStringLiteral("installed-home"));
    ASSERT_TRUE(makeHome(home));

    QStringList prefix;
    const QString folder = installed + u'/' + kProgramFolder;
    const QStringList readOnly = {folder, folder + QStringLiteral("/shipped")};
    if (::geteuid() == 0) {
        constexpr uid_t kNobody = 65534;
        ASSERT_EQ(::chown(QFile::encodeName(home).constData(), kNobody, kNobody), 0);
        // The scratch folder is private to its owner; nobody must reach the copy.
        ASSERT_TRUE(QFile::setPermissions(
            work->path(), QFile::permissions(work->path()) | QFile::ExeOther | QFile::ReadOther));
        prefix = {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
                  QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                  QStringLiteral("--")};
    } else {
        for (const QString& dir : readOnly) {
            ASSERT_TRUE(QFile::setPermissions(
                dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        }
    }
    {
        Launch launch(installed, home, prefix);
        ASSERT_TRUE(launch.stayedUp()) << launch.report();
        EXPECT_TRUE(QFileInfo(seededBank(home)).isFile()) << launch.report();
        EXPECT_TRUE(opened(seededBank(home)));
        EXPECT_FALSE(opened(programFolderBank(installed)));
    }
    for (const QString& dir : readOnly)
        QFile::setPermissions(dir, QFile::permissions(dir) | QFile::WriteOwner);
}

}  // namespace
