// The enciphered parameters of the submit and medals requests: the game writes an XML
// text, enciphers it with its key (Blowfish, ECB, padding of 1 to 8 bytes) and sends the
// cipher text as base64. These functions undo that strictly: anything but canonical
// base64, whole cipher blocks with well-formed padding, and XML of the expected shape is
// refused with a reason.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "online/server/hiscore_service.h"

// The deciphered text (one terminating zero byte, which the game may include, removed).
std::optional<std::string> DecipherParameter(std::string_view base64Text, std::string_view key,
                                             std::string& error);

// <score guid= name= password= type= game= score= data= ver=>server data</score>
// The game handle of the request is compared with the XML's "game" attribute when present.
bool ReadScoreXml(std::string_view xml, TScoreSubmission& submission, std::string& error);

// <medals name= password= game=><medal name= per= />...</medals>
bool ReadMedalsXml(std::string_view xml, TMedalSubmission& submission, std::string& error);
