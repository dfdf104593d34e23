// The names already taken into the export record's attribute list, so that the
// first line with a name wins. Names are the same when the host's string says so
// (its equality may ignore letter case), so the hash looks only at what any such
// equality keeps: ASCII letters folded to one case, every byte above 127 alike.
// Finding a name costs time in proportion to its length however many names came
// before it, and taking one allocates nothing but the table's occasional
// doubling: a set that allocates a node per name spends more on the runtime's
// heap than on all the rest of a line's work.
#pragma once

#include "MERIDAX_plugin.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TakenNames {
public:
    // `pairs` is the list the names are taken into; it may grow meanwhile.
    explicit TakenNames(const NameValueList& pairs);

    // False when a pair of the list has this name already. Otherwise remembers that
    // the pair at `position`, which the caller appends next, has it, and is true.
    bool Take(const UtCString& name, std::size_t position);

private:
    // Eight bytes a slot, because fresh memory is dear: each new page faults in
    // when first touched, and with sixteen-byte slots the table for a megabyte of
    // short names cost more than all the rest of its parse. A record never holds
    // 2^32 attributes (their pairs alone would fill 256 GB).
    struct Slot {
        std::uint32_t hash = 0;             // the low bits of the name's hash
        std::uint32_t positionPlusOne = 0;  // 0: free
    };

    // The slot that holds this name, or the free slot where it would go.
    std::size_t SlotOf(std::uint32_t hash, const UtCString& name) const;
    void Grow();

    const NameValueList& pairs_;
    std::vector<Slot> slots_;  // open addressing, a power of two, at most three quarters full
    std::size_t taken_ = 0;
};
