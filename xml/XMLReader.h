// A small non-validating XML reader: a character source with saved positions and progress
// reports, and the parser that builds a tree of TXMLNode from it.
//
// Every syntax error raises EXMLFileWarning with a message of the current language.
#pragma once

#include "xml/XMLNode.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A reading position saved by a reader, to come back to after a failed look-ahead.
class TXMLReaderState {
public:
  virtual ~TXMLReaderState() = default;
};

class TXMLReader {
public:
  // Called when the integer percentage of the input read grows; setting `abort` makes the
  // rest of the input look exhausted.
  using TProgressEvent = std::function<void(TXMLReader& sender, int percent, bool& abort)>;

  // The current character; 0 once past the end.
  char Current = 0;
  // The last percentage reported through OnProgress.
  std::int32_t LastPercent = 0;
  TProgressEvent OnProgress;

  TXMLReader() = default;
  virtual ~TXMLReader() = default;
  TXMLReader(const TXMLReader&) = delete;
  TXMLReader& operator=(const TXMLReader&) = delete;

  // True when no character remains after Current.
  virtual bool Eof() const = 0;
  virtual void FreeState(std::unique_ptr<TXMLReaderState> state) = 0;
  // Advances one character.
  virtual void Next() = 0;
  virtual void RestoreState(const TXMLReaderState& state) = 0;
  virtual std::unique_ptr<TXMLReaderState> SaveState() = 0;

  // Reads the whole input and answers the Document node.
  std::unique_ptr<TXMLNode> ParseDocument();
};

// A saved position of a TXMLStringReader.
class TXMLStringReaderState : public TXMLReaderState {
public:
  std::int32_t Pos = 1;
  char Current = 0;

  TXMLStringReaderState(std::int32_t pos, char current) : Pos(pos), Current(current) {}
};

// Reads an in-memory byte string (ISO-8859-1).
class TXMLStringReader : public TXMLReader {
public:
  // The whole input.
  std::string Text;
  // 1-based index of the next character to read.
  std::int32_t Pos = 1;

  explicit TXMLStringReader(std::string text);

  bool Eof() const override;
  void FreeState(std::unique_ptr<TXMLReaderState> state) override;
  void Next() override;
  void RestoreState(const TXMLReaderState& state) override;
  std::unique_ptr<TXMLReaderState> SaveState() override;
};
