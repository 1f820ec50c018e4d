#pragma once
// The program with its four windows rendered, in a working directory of its
// own (the language file is written there on the first show).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "platform/ui/toolkit.h"
#include "program_view.h"
#include "ui/program.h"

class ProgramFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    previousDir_ = QDir::currentPath();
    ASSERT_TRUE(dir_.isValid());
    QDir::setCurrent(dir_.path());
    program = std::make_unique<ui::Program>([this] { ended = true; });
    view = std::make_unique<desktop::ProgramView>(*program, MORVEL_SOURCE_ASSETS);
    program->Start();
    QApplication::processEvents();
  }
  void TearDown() override {
    view.reset();
    program.reset();
    QDir::setCurrent(previousDir_);
  }

  platform::ScriptedMessageBoxes boxes;
  std::unique_ptr<ui::Program> program;
  std::unique_ptr<desktop::ProgramView> view;
  bool ended = false;

 private:
  QTemporaryDir dir_;
  QString previousDir_;
};
