#pragma once
// The table behind every kind of opaque handle (HANDLE, HMODULE, HWND, HKEY,
// HGDIOBJ ...). A handle is a 32-bit number, never the address of an object:
// every call that takes one looks it up here, so a closed, forged or foreign
// handle is refused instead of being dereferenced.
//
// Number layout (it fits 32 bits because handles are written into texts with
// "0x%X" and read back):
//   bits 0-1   always 0, as the platform's handles are multiples of four
//   bits 2-19  slot index, 1 and up (so no handle is 0)
//   bits 20-27 generation of the slot, bumped whenever the slot is reused
//   bits 28-31 the table's kind, so a window number is not taken as a key
// Freed slots are reused only once many are waiting (or no fresh slot is
// left), so a stale number comes back to life only after a very long time.

#include "Platform/Base/Types.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

// The kind a table stamps into its numbers; each handle type has its own.
enum class HandleKind : std::uint32_t {
    Kernel = 1,
    Module = 2,
    Window = 3,
    DeviceContext = 4,
    GdiObject = 5,
    RegistryKey = 6,
    Menu = 7,
    Icon = 8,
    ImageList = 9,
    Hook = 10,
    Monitor = 11,
    Other1 = 12,
    Other2 = 13,
    Other3 = 14,
    Other4 = 15,
};

// The parts of a handle number; the encoding shared by all tables.
struct HandleNumber {
    static constexpr std::uint32_t kSlotBits = 18;
    static constexpr std::uint32_t kGenerationBits = 8;
    static constexpr std::uint32_t kMaxSlot = (1u << kSlotBits) - 1;

    HandleKind kind = HandleKind::Kernel;
    std::uint32_t slot = 0;
    std::uint32_t generation = 0;

    std::uint32_t Encode() const;
    // Empty when the number cannot be a handle of any table (0, bits 0-1
    // set, wider than 32 bits, slot 0).
    static std::optional<HandleNumber> Decode(std::uint64_t number);
};

// "0x" and upper-case hexadecimal digits, the form handles take in texts.
std::wstring FormatHandleNumber(std::uint64_t number);
// Reads a number written as "0x..."/"0X..." hexadecimal or as decimal digits,
// with nothing before or after it. Empty on anything else or on overflow.
std::optional<std::uint64_t> ParseHandleNumber(std::wstring_view text);

template <typename Object, typename Handle = HANDLE>
class HandleTable {
public:
    explicit HandleTable(HandleKind kind) : m_kind(kind) {}
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // A new handle for the object, or null when the object is null or every
    // slot is taken.
    Handle Insert(std::shared_ptr<Object> object)
    {
        if (!object)
            return nullptr;
        std::lock_guard lock(m_mutex);
        std::uint32_t slot = 0;
        const bool freshLeft = std::max<std::size_t>(m_slots.size(), 1) <= HandleNumber::kMaxSlot;
        if (!m_free.empty() && (m_free.size() >= kReuseThreshold || !freshLeft)) {
            slot = m_free.front();
            m_free.pop_front();
        } else if (freshLeft) {
            if (m_slots.empty())
                m_slots.emplace_back(); // slot 0 stays unused
            slot = static_cast<std::uint32_t>(m_slots.size());
            m_slots.emplace_back();
        } else {
            return nullptr;
        }
        Slot& entry = m_slots[slot];
        entry.object = std::move(object);
        ++m_count;
        return ToHandle(HandleNumber{m_kind, slot, entry.generation}.Encode());
    }

    // The object, or null when the handle does not name a live entry.
    std::shared_ptr<Object> Lookup(Handle handle) const
    {
        std::lock_guard lock(m_mutex);
        const Slot* entry = Find(handle);
        return entry ? entry->object : nullptr;
    }

    // Takes the entry out and hands back the table's reference (null when
    // the handle names no live entry).
    std::shared_ptr<Object> Remove(Handle handle)
    {
        std::lock_guard lock(m_mutex);
        Slot* entry = const_cast<Slot*>(Find(handle));
        if (!entry)
            return nullptr;
        std::shared_ptr<Object> object = std::move(entry->object);
        entry->object.reset();
        entry->generation = (entry->generation + 1) & ((1u << HandleNumber::kGenerationBits) - 1);
        m_free.push_back(HandleNumber::Decode(ToNumber(handle))->slot);
        --m_count;
        return object;
    }

    bool Contains(Handle handle) const { return Lookup(handle) != nullptr; }

    std::size_t Count() const
    {
        std::lock_guard lock(m_mutex);
        return m_count;
    }

    // The handle of a number that came from outside (a text, a message
    // argument): null unless it names a live entry of this table.
    Handle FromNumber(std::uint64_t number) const
    {
        if (number > UINT32_MAX)
            return nullptr;
        const Handle handle = ToHandle(static_cast<std::uint32_t>(number));
        return Contains(handle) ? handle : nullptr;
    }

    std::wstring ToText(Handle handle) const { return FormatHandleNumber(ToNumber(handle)); }

    Handle FromText(std::wstring_view text) const
    {
        const auto number = ParseHandleNumber(text);
        return number ? FromNumber(*number) : nullptr;
    }

    static std::uint64_t ToNumber(Handle handle) { return reinterpret_cast<std::uintptr_t>(handle); }

private:
    // Below this many free slots a fresh slot is taken instead of a freed one.
    static constexpr std::size_t kReuseThreshold = 1024;

    struct Slot {
        std::shared_ptr<Object> object;
        std::uint32_t generation = 0;
    };

    static Handle ToHandle(std::uint32_t number)
    {
        // The handle types are opaque pointer types that are never
        // dereferenced; the pointer only carries the number.
        return reinterpret_cast<Handle>(static_cast<std::uintptr_t>(number));
    }

    const Slot* Find(Handle handle) const
    {
        const auto number = HandleNumber::Decode(ToNumber(handle));
        if (!number || number->kind != m_kind || number->slot >= m_slots.size())
            return nullptr;
        const Slot& entry = m_slots[number->slot];
        if (!entry.object || entry.generation != number->generation)
            return nullptr;
        return &entry;
    }

    mutable std::mutex m_mutex;
    std::vector<Slot> m_slots;
    std::deque<std::uint32_t> m_free;
    std::size_t m_count = 0;
    HandleKind m_kind = HandleKind::Kernel;
};

}
