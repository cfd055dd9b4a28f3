#include "engine/NoteStack.h"

bool NoteStack::Push(uint32_t event)
{
    if (count >= kCapacity)
        return false;
    events[count++] = event;
    return true;
}

bool NoteStack::Remove(int32_t note)
{
    for (int32_t i = 0; i < count; ++i)
    {
        if (EventNote(events[i]) != note)
            continue;
        for (int32_t j = i + 1; j < count; ++j)
            events[j - 1] = events[j];
        --count;
        return true;
    }
    return false;
}
