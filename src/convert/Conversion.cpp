#include "convert/Conversion.h"

#include "model/ModelData.h"

int ConvertFromPX400(CModelDataPX600& target, CModelDataBase& source)
{
    target.SetFromPX200(0);
    const int result = BuildFromPX400(target, source);
    target.ConvertSwitches();
    target.UpdateChecksum();
    return result;
}

int ConvertFromPX200(CModelDataPX600& target, CModelDataBase& source)
{
    target.SetFromPX200(1);
    const int result = BuildFromPX200(target, source);
    target.ConvertSwitches();
    target.UpdateChecksum();
    return result;
}
