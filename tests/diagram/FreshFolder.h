// Each test of the view code works in an empty current folder of its own,
// so that "vpf" and "Zelkova.mdb" never carry over between tests or repeats.
#pragma once

#include "common/TestEnv.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class FreshFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = QDir::currentPath();
        dir_ = std::make_unique<QTemporaryDir>(testenv::WorkDir() + QStringLiteral("/view-XXXXXX"));
        ASSERT_TRUE(dir_->isValid());
        ASSERT_TRUE(QDir::setCurrent(dir_->path()));
    }
    void TearDown() override
    {
        QDir::setCurrent(previous_);
        dir_.reset();
    }

private:
    QString previous_;
    std::unique_ptr<QTemporaryDir> dir_;
};
