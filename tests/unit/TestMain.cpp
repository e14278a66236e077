// The tests run inside Wine: the window layer is initialised once, as the
// installer's entry point does.
#include <gtest/gtest.h>

#include "win/Application.h"
#include "win/SystemLibrary.h"

int main(int argc, char** argv) {
  win::RestrictDllSearchToSystemFolder();
  win::Application::Instance().Initialize();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
