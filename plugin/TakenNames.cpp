// See TakenNames.h.
#include "TakenNames.h"

namespace {

// FNV-1a over the name as any case-blind equality sees it.
std::uint32_t FoldedHash(const std::string& name) noexcept
{
    std::uint32_t hash = 2166136261u;
    for (unsigned char byte : name) {
        if (byte >= 'A' && byte <= 'Z')
            byte = static_cast<unsigned char>(byte - 'A' + 'a');
        else if (byte > 127)
            byte = 128;
        hash = (hash ^ byte) * 16777619u;
    }
    return hash;
}

}  // namespace

TakenNames::TakenNames(const NameValueList& pairs) : pairs_(pairs), slots_(64) {}

bool TakenNames::Take(const UtCString& name, std::size_t position)
{
    std::uint32_t hash = FoldedHash(name.string());
    std::size_t slot = SlotOf(hash, name);
    if (slots_[slot].positionPlusOne != 0)
        return false;
    slots_[slot] = {hash, static_cast<std::uint32_t>(position + 1)};
    if (++taken_ * 4 > slots_.size() * 3)
        Grow();
    return true;
}

std::size_t TakenNames::SlotOf(std::uint32_t hash, const UtCString& name) const
{
    std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot& at = slots_[slot];
        if (at.positionPlusOne == 0 ||
            (at.hash == hash && pairs_[at.positionPlusOne - 1].first == name))
            return slot;
    }
}

// Doubling places every name anew by its hash alone: the pair last taken may not
// be in the list yet.
void TakenNames::Grow()
{
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    std::size_t mask = slots_.size() - 1;
    for (const Slot& taken : old) {
        if (taken.positionPlusOne == 0)
            continue;
        std::size_t slot = taken.hash & mask;
        while (slots_[slot].positionPlusOne != 0)
            slot = (slot + 1) & mask;
        slots_[slot] = taken;
    }
}
