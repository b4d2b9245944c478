// Runtime services: the program's main heap, the linked list with its
// cursor, and random numbers.
#pragma once

#include <windows.h>

#include <cstdint>

// The program's private main heap. The list elements and the layers' tables
// come from it; the program creates it first and destroys it last.
extern HANDLE MainHeap;

// One element block: the two links, then the payload.
struct ListElement {
    ListElement* next;
    ListElement* previous;
};

// The payload of an element starts right after its links.
inline void* ListPayload(ListElement* element) { return element + 1; }

struct ListHeader {
    ListElement* first;
    ListElement* last;
    uint32_t elementSize;  // payload size plus the two links
};

// A list as its owner holds it. `current` is the cursor, null while it stands
// before the first element; callers read it, only the list operations write it.
struct List {
    ListHeader* header;
    ListElement* current;
};

void ListInit(List& list, uint32_t payloadSize);
ListElement* ListAdd(List& list);
ListElement* ListPrevious(List& list);
void ListReset(List& list);
ListElement* ListNext(List& list);
int32_t ListDeleteCurrent(List& list);
void ListClear(List& list);

// A uniform integer from 0 to max inclusive; -2147483648 for a negative max.
// The generator seeds itself from the tick count on first use.
int32_t RandomInt(int32_t max);

// The generator's own steps; tests seed it with a chosen value.
uint64_t RandomStep();
void RandomStart(uint32_t seed);
