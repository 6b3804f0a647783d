// The XML animation description (stored as compressed XML in the package):
//   <sequence name= source=>
//     <img regx= regy= w= h= name= mask=>          regx, regy and mask optional
//     <framelist>
//       <frame x= y= w= h= name= alpha= regx= regy= xform="a b c d tx ty">
//         <anchor name= x= y=>                      any number
//       </frame> ...
//     </framelist>
//     <script luascript="...">                      optional; line breaks as &#10;
//   </sequence>
// A frame without "regx", "regy" or "xform" takes the previous frame's (0, 0 and none for
// the first); without "alpha" it is opaque.
#pragma once

#include <string>
#include <string_view>

#include "gfx/formats/animation_data.h"

class TXmlNode;

// Reads the description from a parsed document (the root whose child is "sequence").
// False with the reason in *error when it is not an animation or a frame is damaged.
bool ReadAnimationXml(const TXmlNode& document, TAnimationData* out, std::string* error);
// The same from the text (or compressed XML) of a file.
bool ReadAnimationXml(std::string_view text, TAnimationData* out, std::string* error);

// The description as XML text; reading it back gives the same data (the packed form's
// unused fields take their defaults).
std::string WriteAnimationXml(const TAnimationData& data);
