#pragma once

#include <QString>

#include <cstdint>

// The simulated chip's own knowledge of its debug mode: which byte order its
// frames use and how a CPU address appears on the debug bus. Kept apart from
// the host link's copy on purpose, so a wrong map on either side shows.
namespace ChipBusView {

enum class ByteOrder { Unsupported, Little, Big };

ByteOrder FrameByteOrder(const QString &model);
uint32_t BusAddress(ByteOrder order, uint32_t cpuAddress);

} // namespace ChipBusView
