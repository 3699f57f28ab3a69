// "Start at login": the entry in the autostart folder of a settings folder of the test's own.
#include "Autostart.h"
#include "printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class AutostartTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_config.isValid());
        m_saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", m_saved); }

    static QByteArray entry()
    {
        QFile file(Autostart::entryPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_config;
    QByteArray m_saved;
};

TEST_F(AutostartTest, EnableWritesTheEntryAndDisableRemovesIt)
{
    EXPECT_EQ(Autostart::entryPath(), m_config.path() + "/autostart/org.tarnwick.Tarnwick.desktop");
    EXPECT_FALSE(Autostart::isEnabled());
    EXPECT_EQ(Autostart::enable(QStringLiteral("/usr/bin/tarnwick")), QString());
    EXPECT_TRUE(Autostart::isEnabled());
    EXPECT_TRUE(entry().contains("\nExec=/usr/bin/tarnwick --minimized --connect\n")) << entry().constData();
    EXPECT_TRUE(entry().startsWith("[Desktop Entry]\nType=Application\n"));

    EXPECT_EQ(Autostart::disable(), QString());
    EXPECT_FALSE(Autostart::isEnabled());
    EXPECT_FALSE(QFile::exists(Autostart::entryPath()));
    EXPECT_EQ(Autostart::disable(), QString()) << "nothing to remove is fine";
}

TEST_F(AutostartTest, ProgramPathsAreQuotedAsExecLinesWantAndTheDefaultIsFromPath)
{
    ASSERT_EQ(Autostart::enable(QStringLiteral("/opt/my apps/$tarn\"wick%")), QString());
    EXPECT_TRUE(entry().contains("\nExec=\"/opt/my apps/\\\\$tarn\\\\\"wick%%\" --minimized --connect\n"))
        << entry().constData();
    ASSERT_EQ(Autostart::enable(QString()), QString());
    EXPECT_TRUE(entry().contains("\nExec=tarnwick --minimized --connect\n")) << entry().constData();
}

TEST_F(AutostartTest, AnEntryTheDesktopHidIsOffAndAFailureSaysWhy)
{
    ASSERT_EQ(Autostart::enable(QStringLiteral("/usr/bin/tarnwick")), QString());
    QFile file(Autostart::entryPath());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Hidden=true\n");
    file.close();
    EXPECT_FALSE(Autostart::isEnabled());

    // The autostart folder's name taken by a file: nothing can be written there (even as root).
    ASSERT_TRUE(QFile::remove(Autostart::entryPath()));
    ASSERT_TRUE(QDir(m_config.path()).rmdir(QStringLiteral("autostart")));
    QFile blocker(m_config.path() + "/autostart");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(Autostart::enable(QStringLiteral("/usr/bin/tarnwick")),
              QStringLiteral("Cannot make the folder %1/autostart.").arg(m_config.path()));
    EXPECT_FALSE(Autostart::isEnabled());
}

} // namespace
