#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/codepage.h"
#include "core/path.h"

// "name (position/size)": built once, only the position changes per block, so a name holding
// "%" or other format characters is shown as it is.
class ProgressText {
 public:
  ProgressText(const std::string& fileName, std::int64_t size) : text_(ExtractFileName(fileName, IsNeverLeadByte)) {
    text_ += " (";
    headLength_ = text_.size();
    tail_ += '/';
    tail_ += std::to_string(size);
    tail_ += ')';
    text_.reserve(headLength_ + 20 + tail_.size());
  }

  std::string_view At(std::int64_t position) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, position).ptr;
    text_.resize(headLength_);
    text_.append(digits, end);
    text_ += tail_;
    return text_;
  }

 private:
  std::string text_;
  std::size_t headLength_ = 0;
  std::string tail_;
};
