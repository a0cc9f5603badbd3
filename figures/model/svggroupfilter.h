#pragma once

#include <QIODevice>

#include <string>
#include <vector>

namespace figures {

// A write-only device in front of another that drops empty groups from SVG text: a
// "<g ...>" followed, after nothing but white space, by its "</g>" (a painter state that
// changed but drew nothing). Groups that only held empty groups are dropped as well.
// Everything else passes unchanged and in order, however the text is split into writes.
// Close (or the destructor) writes out what is still held back.
class SvgGroupFilter : public QIODevice {
public:
    explicit SvgGroupFilter(QIODevice& target);
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

    QIODevice& target_;
    std::string held_;
    // Opening tags (with the white space before them) not yet known to hold anything.
    std::vector<std::string> pending_;
    std::string out_;
    bool failed_ = false;
};

} // namespace figures
