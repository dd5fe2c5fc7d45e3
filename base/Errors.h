// The exception classes of the system. Each carries only its message (ISO-8859-1 bytes).
#pragma once

#include <stdexcept>
#include <string>

class EBase : public std::runtime_error {
public:
  explicit EBase(const std::string& message) : std::runtime_error(message) {}
};

// Run-time errors of the kinds a general-purpose library would raise.
class ERangeError : public EBase { using EBase::EBase; };      // vector index out of limits
class EListError : public EBase { using EBase::EBase; };       // list index out of bounds
class EConvertError : public EBase { using EBase::EBase; };    // text that is not a number
class EComponentError : public EBase { using EBase::EBase; };  // impossible copy of a component
class EFileOpenError : public EBase { using EBase::EBase; };   // a file cannot be opened

// Name lookup in a vector of named entities.
class EBioAbstractNameError : public EBase { using EBase::EBase; };
// Syntax of an XML document.
class EXMLFileWarning : public EBase { using EBase::EBase; };
// Content of a genotype file.
class EFileFormatWarning : public EBase { using EBase::EBase; };
// A load that ends without success, or is stopped by the user.
class EFileFormatError : public EBase { using EBase::EBase; };
// A writer that cannot express the data, or an unknown write format.
class EFileWritingError : public EBase { using EBase::EBase; };

// Text of the list-index error: "List index out of bounds (%d)".
[[noreturn]] void ThrowListError(long index);
