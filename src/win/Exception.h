// The one exception type the window layer raises. Handlers let it escape;
// the application's default exception display shows it.
#pragma once

#include <stdexcept>
#include <string>

namespace win {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace win
