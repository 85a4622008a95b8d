// Small pieces of text for the report.
#ifndef NLSCHECK_FORMAT_H
#define NLSCHECK_FORMAT_H

#include <cstdint>
#include <string>

// A text in double quotes, control characters written as \t, \xNN.
std::string Quoted(const std::string& text);

// A locale number as the table writes it: at least 4 hexadecimal digits,
// or a bare 0.
std::string Hex(uint32_t value);

#endif
