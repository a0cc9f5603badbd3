#pragma once

#include <QImage>

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>

namespace figures {

// The decoded pixels of raster pictures, shared by the whole process under one budget of
// bytes. Pictures are decoded when they are first drawn, not when a document is read, and
// the pictures drawn least recently make room for new ones. Safe to use from several
// threads at once: a picture being decoded by one thread is waited for by the others
// instead of being decoded twice.
class PictureCache {
public:
    static constexpr int64_t kDefaultBudgetBytes = int64_t(512) << 20;

    // What is stored: one picture file (its source number, see NewSource) decoded at the
    // full size divided by shrink (1 = full size; 2, 4, 8 for formats that decode smaller).
    struct Key {
        uint64_t source = 0;
        int32_t shrink = 1;
        auto operator<=>(const Key&) const = default;
    };

    struct Counters {
        int64_t decodes = 0;   // decoders run
        int64_t hits = 0;      // images found already decoded (or being decoded)
        int64_t evictions = 0; // images dropped to make room
        int64_t refusals = 0;  // images whose size alone exceeds the budget
        int64_t heldBytes = 0; // bytes of the images held now
        int64_t peakBytes = 0; // the most bytes ever held at once
    };

    // The cache every picture of the process draws through; never destroyed, so that
    // pictures living in static storage may still forget their images at exit.
    static PictureCache& Instance();

    explicit PictureCache(int64_t budgetBytes = kDefaultBudgetBytes);
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The image stored under key, marked as drawn now; when there is none, decode() makes
    // it, after the least recently drawn images have made room for expectedBytes (the
    // size the picture's header promises). Null without calling decode() when
    // expectedBytes alone exceeds the budget, and null when decoding fails (remembered:
    // a failed picture is not decoded again until it is evicted or forgotten).
    QImage Find(const Key& key, int64_t expectedBytes, const std::function<QImage()>& decode);

    // Drops every image of the source (a picture whose bytes are gone).
    void Forget(uint64_t source);
    // Drops everything; the counters but held bytes stay.
    void Clear();

    int64_t Budget() const;
    // A smaller budget evicts at once what no longer fits.
    void SetBudget(int64_t bytes);
    Counters Statistics() const;

    // A number for a new picture file, never given out before.
    static uint64_t NewSource();

private:
    struct Entry;
    using Order = std::list<Key>; // most recently drawn first

    // Evicts from the least recently drawn end until bytes more fit; images still being
    // decoded stay.
    void MakeRoom(int64_t bytes);
    void Remove(std::map<Key, std::shared_ptr<Entry>>::iterator at);
    void Settle(const std::shared_ptr<Entry>& entry, const QImage& image);

    mutable std::mutex mutex_;
    int64_t budget_;
    std::map<Key, std::shared_ptr<Entry>> entries_;
    Order order_;
    Counters counters_;
};

} // namespace figures
