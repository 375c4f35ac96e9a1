// Feeds arbitrary bytes to the train list loader and writes what it read back out.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/DataTrains.h"
#include "data/SerializationInfo.h"
#include "data/TrainListText.h"
#include "data/XmlSerialization.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string text(reinterpret_cast<const char*>(pData), nSize);
    CDataTrains trains;
    XmlLoadResult result;
    bool bOk = LoadXmlText(text, &trains, &result);
    if (bOk != result.Ok() || (!bOk && !trains.GetTrains().empty()))
        __builtin_trap();
    for (const auto& entry : trains.GetTrains())
    {
        if (entry.first != entry.second.GetID())
            __builtin_trap();
    }

    // Whatever was read must load back unchanged from the text the writer makes of it,
    // as long as no zero byte (which ends a file's text) was read into a field.
    bool bHasZero = false;
    for (const auto& entry : trains.GetTrains())
    {
        const CDataTrain& train = entry.second;
        bHasZero |= train.GetSetNumber().find('\0') != std::string::npos ||
                    train.GetLTERAddress().find('\0') != std::string::npos;
    }
    if (!bHasZero)
    {
        CDataTrains back;
        if (!LoadXmlText(MakeTrainListText(trains.GetTrains()), &back) ||
            back.GetTrains() != trains.GetTrains())
            __builtin_trap();
    }

    CSerializationInfo root;
    trains.Serialize(root);
    return 0;
}
