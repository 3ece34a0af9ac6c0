#include "Configdataunit.h"

#include <algorithm>

TConfigDataUnit::TConfigDataUnit() {
    slotOf_.fill(-1);
}

uint8_t TConfigDataUnit::DeviceAddress() const {
    return addressSource_ ? addressSource_->GetDeviceAddress() : DefaultDeviceAddress;
}

// The highest slot holding the sub-address: when a map names a register
// twice, the later slot is the one used.
int TConfigDataUnit::FindEntry(int subAddress) const {
    if (subAddress < 0 || subAddress > 0xFF)
        return -1;
    return slotOf_[static_cast<size_t>(subAddress)];
}

int TConfigDataUnit::GetSize(int subAddress) const {
    const int i = FindEntry(subAddress);
    return i < 0 ? 0 : slots_[i].size;
}

std::vector<uint8_t> TConfigDataUnit::GetData(int subAddress) const {
    return DataAt(FindEntry(subAddress));
}

void TConfigDataUnit::SetData(int subAddress, std::span<const uint8_t> bytes) {
    const int i = FindEntry(subAddress);
    if (i < 0)
        return;
    CElements& slot = slots_[i];
    const size_t n = std::min<size_t>(static_cast<size_t>(slot.size), bytes.size());
    std::copy_n(bytes.begin(), n, slot.data.begin());
}

std::string TConfigDataUnit::GetName(int subAddress) const {
    return NameAt(FindEntry(subAddress));
}

void TConfigDataUnit::SetName(int subAddress, const std::string& name) {
    const int i = FindEntry(subAddress);
    if (i >= 0)
        slots_[i].name = name;
}

void TConfigDataUnit::WriteRegister(int subAddress) {
    const uint8_t address = DeviceAddress();
    const int i = FindEntry(subAddress);
    if (i < 0 || slots_[i].size <= 0 || !bus_)
        return;
    bus_->I2CWrite(address, static_cast<uint8_t>(subAddress), slots_[i].size, slots_[i].data.data());
}

void TConfigDataUnit::ReadRegisters(uint8_t first, uint8_t last) {
    if (!bus_)
        return;
    const uint8_t address = DeviceAddress();
    for (int s = first;; ++s) {
        // The buffer starts as the slot's current contents, so a read that the
        // transport skips or the device refuses leaves the register as it was
        // instead of filling it with whatever the failed call left behind.
        std::vector<uint8_t> buffer = GetData(s);
        bus_->I2CRead(address, static_cast<uint8_t>(s), static_cast<int>(buffer.size()), buffer.data());
        if (bus_->IsTransferOk())
            SetData(s, buffer);
        if (s + 1 > last || s + 1 >= 0xFF || !bus_->IsTransferOk())
            break;
    }
}

std::optional<std::vector<uint8_t>> TConfigDataUnit::ReadBack(int subAddress) {
    const int size = GetSize(subAddress);
    if (!bus_ || size <= 0)
        return std::nullopt;
    std::vector<uint8_t> buffer(static_cast<size_t>(size), 0);
    bus_->I2CRead(DeviceAddress(), static_cast<uint8_t>(subAddress), size, buffer.data());
    if (!bus_->IsTransferOk())
        return std::nullopt;
    return buffer;
}

void TConfigDataUnit::SetSubAddress(int index, int subAddress) {
    if (!ValidIndex(index))
        return;
    const int before = slots_[index].subAddress;
    const int after = subAddress >= 0 && subAddress <= 0xFF ? subAddress : CElements::Undefined;
    slots_[index].subAddress = after;
    if (before == after)
        return;
    if (before != CElements::Undefined && slotOf_[static_cast<size_t>(before)] == index) {
        // The slot held the highest copy: the next lower one, if any, takes over.
        int lower = index - 1;
        while (lower >= 0 && slots_[lower].subAddress != before)
            --lower;
        slotOf_[static_cast<size_t>(before)] = static_cast<int16_t>(lower);
    }
    if (after != CElements::Undefined && slotOf_[static_cast<size_t>(after)] < index)
        slotOf_[static_cast<size_t>(after)] = static_cast<int16_t>(index);
}

void TConfigDataUnit::ClearSlot(int index) {
    if (!ValidIndex(index))
        return;
    SetSubAddress(index, CElements::Undefined);
    slots_[index] = CElements{};
}

void TConfigDataUnit::SetSize(int index, int size) {
    if (ValidIndex(index))
        slots_[index].size = std::clamp(size, 0, CElements::MaxBytes);
}

int TConfigDataUnit::SubAddressAt(int index) const {
    return ValidIndex(index) ? slots_[index].subAddress : 0;
}

int TConfigDataUnit::SizeAt(int index) const {
    return ValidIndex(index) ? slots_[index].size : 0;
}

std::vector<uint8_t> TConfigDataUnit::DataAt(int index) const {
    if (!ValidIndex(index))
        return {};
    const CElements& slot = slots_[index];
    return {slot.data.begin(), slot.data.begin() + slot.size};
}

std::string TConfigDataUnit::NameAt(int index) const {
    return ValidIndex(index) ? slots_[index].name : "0";
}

bool TConfigDataUnit::IsExcludedFromSave(int s) {
    return (s >= 0x00 && s <= 0x02) || (s >= 0x24 && s <= 0x3F) || (s >= 0xB2 && s <= 0xCE) ||
           (s >= 0xE1 && s <= 0xFF);
}
