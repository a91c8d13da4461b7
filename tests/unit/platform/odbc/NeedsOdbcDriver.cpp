#include "plain/NativeOdbcDriver.hpp"

namespace {

const auto* const odbcDriver = testing::AddGlobalTestEnvironment(new skorvin::test::NeedsNativeOdbcDriver);

} // namespace
