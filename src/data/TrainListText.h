// Writing a train list file ("CheckTrains2.xml") in the layout the loader reads: a
// "Trains" root with one "Train" element per record and one element per field.
#pragma once

#include <string>

#include "data/DataTrains.h"

// The file text, records in ascending ID order, CR LF line ends, CP949 bytes as given.
// Texts are escaped twice because the loader decodes leaf texts twice; a carriage return
// is written as a character reference so that it survives line-end normalisation. A zero
// byte cannot be stored (the loader reads a file up to its first zero byte).
std::string MakeTrainListText(const TrainMap& trains);

// Writes MakeTrainListText to the file, replacing it atomically; false on failure.
bool SaveTrainListFile(const std::string& strPath, const TrainMap& trains);
