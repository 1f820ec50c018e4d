#pragma once
// The program with its four windows rendered, in a working directory of its
// own (the language file is written there on the first show).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "platform/ui/toolkit.h"
#include "program_view.h"
#include "temp_working_dir.h"
#include "ui/program.h"

class ProgramFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.IsValid());
    program = std::make_unique<ui::Program>([this] { ended = true; });
    view = std::make_unique<desktop::ProgramView>(*program, MORVEL_SOURCE_ASSETS);
    program->Start();
    QApplication::processEvents();
  }
  void TearDown() override {
    view.reset();
    program.reset();
  }

  platform::ScriptedMessageBoxes boxes;
  std::unique_ptr<ui::Program> program;
  std::unique_ptr<desktop::ProgramView> view;
  bool ended = false;

 private:
  testsupport::TempWorkingDir dir_;
};
