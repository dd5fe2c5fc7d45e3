// The two-way copy protocol shared by the objects of the data model.
#pragma once

class TPersistent {
public:
  virtual ~TPersistent() = default;
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;

  // The dynamic class name, as shown in messages.
  virtual const char* ClassName() const { return "TPersistent"; }
  // Copies this object into `dest`; the base version refuses (EConvertError).
  virtual void AssignTo(TPersistent& dest) const;
  // Copies `source` into this object: `source.AssignTo(*this)`.
  void Assign(const TPersistent& source) { source.AssignTo(*this); }
};
