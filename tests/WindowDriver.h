// Drives a window as a user does: its controls found by objectName and clicked.
#pragma once

#include <QAbstractButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

template <class T = QAbstractButton>
T* FindControl(const QWidget* window, const QString& name) {
    T* w = window->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << qPrintable(name);
    return w;
}

inline void ClickControl(const QWidget* window, const QString& name) {
    QTest::mouseClick(FindControl(window, name), Qt::LeftButton);
}
