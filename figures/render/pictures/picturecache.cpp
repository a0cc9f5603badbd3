#include "figures/render/pictures/picturecache.h"

#include <algorithm>
#include <atomic>

namespace figures {

// One image, or the place of one being decoded. The thread that decodes holds `decoding`
// from before the entry becomes visible until the image is in; others that find the entry
// wait on it. Fields other than the image are guarded by the cache's mutex.
struct PictureCache::Entry {
    std::mutex decoding;
    std::atomic<bool> ready{false};
    QImage image;
    int64_t bytes = 0; // charged to the budget: the expected size until the image is in
    Order::iterator place;
    bool removed = false; // forgotten or cleared while being decoded
};

PictureCache& PictureCache::Instance()
{
    static PictureCache* const cache = new PictureCache();
    return *cache;
}

PictureCache::PictureCache(int64_t budgetBytes) : budget_(budgetBytes) {}

uint64_t PictureCache::NewSource()
{
    static std::atomic<uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

QImage PictureCache::Find(const Key& key, int64_t expectedBytes,
                          const std::function<QImage()>& decode)
{
    std::shared_ptr<Entry> entry;
    std::unique_lock<std::mutex> decoding;
    {
        std::lock_guard lock(mutex_);
        if (const auto found = entries_.find(key); found != entries_.end()) {
            entry = found->second;
            order_.splice(order_.begin(), order_, entry->place);
            ++counters_.hits;
        } else {
            if (expectedBytes > budget_) {
                ++counters_.refusals;
                return {};
            }
            MakeRoom(expectedBytes);
            entry = std::make_shared<Entry>();
            decoding = std::unique_lock(entry->decoding);
            entry->bytes = std::max<int64_t>(expectedBytes, 0);
            order_.push_front(key);
            entry->place = order_.begin();
            entries_.emplace(key, entry);
            counters_.heldBytes += entry->bytes;
            counters_.peakBytes = std::max(counters_.peakBytes, counters_.heldBytes);
            ++counters_.decodes;
        }
    }
    if (!decoding.owns_lock()) {
        if (!entry->ready.load(std::memory_order_acquire)) {
            // Another thread is decoding it: wait for the image instead of decoding twice.
            std::lock_guard wait(entry->decoding);
        }
        return entry->image;
    }
    QImage image;
    try {
        image = decode();
    } catch (...) {
        image = QImage();
    }
    entry->image = image;
    entry->ready.store(true, std::memory_order_release);
    decoding.unlock();
    Settle(entry, image);
    return image;
}

// Charges the decoded image's real size instead of the expected one.
void PictureCache::Settle(const std::shared_ptr<Entry>& entry, const QImage& image)
{
    std::lock_guard lock(mutex_);
    if (entry->removed) {
        return;
    }
    const int64_t bytes = image.isNull() ? 0 : int64_t(image.sizeInBytes());
    counters_.heldBytes += bytes - entry->bytes;
    counters_.peakBytes = std::max(counters_.peakBytes, counters_.heldBytes);
    entry->bytes = bytes;
}

void PictureCache::MakeRoom(int64_t bytes)
{
    auto victim = order_.end();
    while (counters_.heldBytes + bytes > budget_ && victim != order_.begin()) {
        --victim;
        const auto found = entries_.find(*victim);
        if (!found->second->ready.load(std::memory_order_acquire)) {
            continue;
        }
        victim = std::next(victim);
        Remove(found);
        ++counters_.evictions;
    }
}

void PictureCache::Remove(std::map<Key, std::shared_ptr<Entry>>::iterator at)
{
    Entry& entry = *at->second;
    counters_.heldBytes -= entry.bytes;
    entry.removed = true;
    order_.erase(entry.place);
    entries_.erase(at);
}

void PictureCache::Forget(uint64_t source)
{
    std::lock_guard lock(mutex_);
    auto at = entries_.lower_bound(Key{source, 0});
    while (at != entries_.end() && at->first.source == source) {
        const auto next = std::next(at);
        Remove(at);
        at = next;
    }
}

void PictureCache::Clear()
{
    std::lock_guard lock(mutex_);
    while (!entries_.empty()) {
        Remove(entries_.begin());
    }
}

int64_t PictureCache::Budget() const
{
    std::lock_guard lock(mutex_);
    return budget_;
}

void PictureCache::SetBudget(int64_t bytes)
{
    std::lock_guard lock(mutex_);
    budget_ = bytes;
    MakeRoom(0);
}

PictureCache::Counters PictureCache::Statistics() const
{
    std::lock_guard lock(mutex_);
    return counters_;
}

} // namespace figures
