// The XML texts the high-score service sends to the web service, enciphered: a score
// submission and a medals submission. Attribute values are escaped, so a name with quotes
// or brackets cannot change the element.
#pragma once

#include <string>

struct THiscoreRow;

// <score guid= name= password= type= game= score= data= ver=>SERVER DATA</score>, with
// "name", "password", "game", "data" and "ver" left out when empty.
std::string ScoreSubmissionXml(const THiscoreRow& row, const std::string& accountName,
                               const std::string& password, const std::string& category,
                               const std::string& gameHandle);

// <medals name= password= game=>MEDALS</medals>, "game" left out when empty; the medals
// text is XML of the caller and goes in as it is.
std::string MedalsSubmissionXml(const std::string& medalsXml, const std::string& accountName,
                                const std::string& password, const std::string& gameHandle);
