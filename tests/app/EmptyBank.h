// A program folder with an empty bank, opened by the data module.
#pragma once

#include "DataModule.h"
#include "Schema.h"

#include <QDir>

#include <gtest/gtest.h>

inline void OpenEmptyBank(store::TDM1& dm, const QString& folder) {
    QDir().mkpath(folder + QStringLiteral("/data"));
    store::createEmptyBank(folder + QStringLiteral("/data/QBDATA000001.db"));
    dm.DataModuleCreate(folder);
    ASSERT_TRUE(dm.DatabaseReady);
}
