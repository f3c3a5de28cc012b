#pragma once

#include <QString>

struct ContactKey;

// A contact as the operator is told about it: "BB1BBB, 80 m SSB, tour 1" ("all tours" for tour 0).
QString contactName(const ContactKey& key);
