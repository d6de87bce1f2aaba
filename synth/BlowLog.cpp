#include "synth/BlowLog.h"

#include <new>
#include <stdexcept>

bool BlowLog::Reserve(std::size_t most)
{
    count = 0;
    complete = true;
    try {
        blows.assign(most, Blow{});
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}
