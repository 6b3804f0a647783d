// The value encoding of request parameters: the characters that have a meaning in a URL or
// a form body (space " # $ % & + , / : ; < = > ? @ [ \ ] ^ ` { | }) become "%" and two
// upper-case hexadecimal digits. Control bytes (below 32, and 127) are encoded the same
// way, so that no value can break the request line or add a header. Every other byte,
// including bytes above 127, is copied unchanged.
#pragma once

#include <string>
#include <string_view>

std::string EncodeFormValue(std::string_view value);

// Whether EncodeFormValue writes the byte as "%XX".
bool IsEncodedFormByte(unsigned char byte);
