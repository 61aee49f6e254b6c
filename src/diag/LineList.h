#pragma once
// The ordered text lines the drive report is written into. The debug window keeps them in
// its rich-text box; tests and tools use the plain list below.
#include <string>
#include <vector>

class TLineList {
public:
    virtual ~TLineList() = default;
    virtual void Append(const std::string& line) = 0;
    virtual int Count() const = 0;
    // Lines count from 0; an index outside 0..Count()-1 is a programming error.
    virtual std::string Line(int i) const = 0;
    virtual void Replace(int i, const std::string& line) = 0;
    virtual void Delete(int i) = 0;
};

// Deletes lines from the end until count lines are left.
void TruncateLines(TLineList& lines, int count);

class TStringLineList : public TLineList {
public:
    void Append(const std::string& line) override { lines_.push_back(line); }
    int Count() const override { return int(lines_.size()); }
    std::string Line(int i) const override { return lines_.at(size_t(i)); }
    void Replace(int i, const std::string& line) override { lines_.at(size_t(i)) = line; }
    void Delete(int i) override;
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};
