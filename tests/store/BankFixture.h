// Tiny banks built in code, one per test, in a temporary folder.
#pragma once

#include "DataModule.h"
#include "Engine.h"
#include "QtPrinters.h"
#include "Schema.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class BankTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(dir.path() + QStringLiteral("/data"));
        bankPath = dir.path() + QStringLiteral("/data/QBDATA000001.db");
        store::createEmptyBank(bankPath);
    }

    // A data module on the test's own bank, with a fixed "today".
    std::unique_ptr<store::TDM1> openModule(QDate today = QDate(2026, 12, 9)) {
        auto dm = std::make_unique<store::TDM1>();
        dm->setTodayProvider([today] { return today; });
        dm->DataModuleCreate(dir.path());
        EXPECT_TRUE(dm->DatabaseReady);
        return dm;
    }

    static void addChapter(store::Database& db, const QString& code, int bh,
                           const QString& title = QString()) {
        db.execute(QStringLiteral("insert into tab_kmmc (C1,C1_1,C2,bh) values (?,?,?,?)"),
                   {{{}, code}, {{}, title.isEmpty() ? code : title}, {{}, code}, {{}, bh}});
    }

    QTemporaryDir dir;
    QString bankPath;
};
