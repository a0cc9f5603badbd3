#pragma once

#include <QIODevice>

#include <string>
#include <vector>

namespace figures {

class SvgPatternFills;

// A write-only device in front of another that drops empty groups from SVG text: a
// "<g ...>" followed, after nothing but white space, by its "</g>" (a painter state that
// changed but drew nothing). Groups that only held empty groups are dropped as well.
// Everything else passes unchanged and in order, however the text is split into writes.
// Close (or the destructor) writes out what is still held back.
//
// Given the output's pattern table, it also turns the stand-in fill colours of pattern
// fills in group tags into references to the table's patterns, and writes the table's
// definitions once, just before the document's closing tag.
class SvgGroupFilter : public QIODevice {
public:
    explicit SvgGroupFilter(QIODevice& target, const SvgPatternFills* patterns = nullptr);
    ~SvgGroupFilter() override;

    bool isSequential() const override { return true; }
    void close() override;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override;

private:
    // Passes on what can be decided in held_; leaves an undecided tail.
    void Process();
    void Emit(std::string_view text);
    void EmitPending();
    // The group tag with a stand-in fill replaced by its pattern reference.
    std::string WithPatternFill(std::string tag) const;

    QIODevice& target_;
    const SvgPatternFills* patterns_;
    bool definitionsWritten_ = false;
    std::string held_;
    // Opening tags (with the white space before them) not yet known to hold anything.
    std::vector<std::string> pending_;
    std::string out_;
    bool failed_ = false;
};

} // namespace figures
