#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

// Logger memory images as the modules record them on a drive: the car
// logger's data blocks (with the odd stream block and gaps where the car was
// parked) and the lambda display's samples and engine periods. Deterministic
// for a seed, so a benchmark run can be repeated.
namespace loggers::images {

// The vehicle file the car images are made for (4 cylinders, 1,9 m wheel,
// a poti and two sensors).
std::string vehicleFile();

// `blocks` blocks of 512 bytes; every `streamEvery`-th block (0: none) is
// an ignition stream block.
void writeCarImage(std::ostream& out, uint64_t blocks, uint32_t seed, int streamEvery = 97);
void writeLambdaImage(std::ostream& out, uint64_t blocks, uint32_t seed);

}  // namespace loggers::images
