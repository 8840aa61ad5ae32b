// Errors shared by the image loaders (JPEG frame buffers, PNG alpha images).
#pragma once

#include <stdexcept>

// Picture data that cannot be decoded: truncated, corrupt, unsupported or
// absurdly large. The message names the decoder's complaint.
class EImageDecodeError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
