// A Qt application for a whole test program whose settings live in a private, temporary
// XDG_CONFIG_HOME, set before the first QSettings (which takes the user's directory once).
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace test_support {

// The private configuration folder of the running test program.
inline QString& ConfigHome() {
  static QString home;
  return home;
}

// Application: QCoreApplication or QGuiApplication. Register with
// ::testing::AddGlobalTestEnvironment(new QtConfigHomeEnvironment<QCoreApplication>("name")).
template <typename Application>
class QtConfigHomeEnvironment : public ::testing::Environment {
 public:
  explicit QtConfigHomeEnvironment(const char* programName) : name_(programName) {}
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    ConfigHome() = dir_->path();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(ConfigHome()));
    argv_[0] = name_.data();
    app_ = std::make_unique<Application>(argc_, argv_);
  }
  void TearDown() override {
    app_.reset();
    dir_.reset();
  }

 private:
  QByteArray name_;
  int argc_ = 1;
  char* argv_[2] = {nullptr, nullptr};
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<Application> app_;
};

}  // namespace test_support
