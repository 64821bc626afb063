#ifndef DRECENTCACHE_H
#define DRECENTCACHE_H

#include <QString>
#include <QStringView>

#include <algorithm>

// The strings met lately and what each maps to, one per slot, the slot
// picked by the length and three characters of the string: a lookup that
// finds its string costs a comparison instead of a hash of the whole
// string (which costs far more than its instructions say). A slot is only
// ever overwritten, never wrong, so the cache sits in front of a complete
// lookup, which also keeps strings made to collide harmless.
template <typename Value, int SlotCount> class DRecentCache
{
public:
    // The value remembered for key; null when key is not in its slot.
    const Value* find(QStringView key) const
    {
        const Slot& slot = m_slots[slotOf(key)];
        const bool same = slot.filled && slot.key.size() == key.size() &&
                          std::equal(key.begin(), key.end(), slot.key.cbegin());
        return same ? &slot.value : nullptr;
    }
    void remember(const QString& key, const Value& value)
    {
        Slot& slot = m_slots[slotOf(key)];
        slot.key = key;
        slot.value = value;
        slot.filled = true;
    }
    void clear() { std::fill(std::begin(m_slots), std::end(m_slots), Slot()); }

private:
    struct Slot
    {
        QString key;
        Value value{};
        bool filled = false;
    };

    static int slotOf(QStringView key)
    {
        if (key.isEmpty())
            return 0;
        const qsizetype size = key.size();
        const uint mixed = uint(size) * 7u + key.front().unicode() * 31u +
                           key.at(size / 2).unicode() * 131u + key.back().unicode() * 17u;
        return int(mixed % SlotCount);
    }

    Slot m_slots[SlotCount];
};

#endif
