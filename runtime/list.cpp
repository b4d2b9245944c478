// Doubly linked list of fixed-size records with one cursor. Element blocks
// come zero-filled from MainHeap and go back to it one by one.
#include "runtime.h"

HANDLE MainHeap = nullptr;

void ListInit(List& list, uint32_t payloadSize) {
    list.header = static_cast<ListHeader*>(HeapAlloc(MainHeap, HEAP_ZERO_MEMORY, sizeof(ListHeader)));
    if (list.header == nullptr) return;  // every later operation then finds no list and does nothing
    list.header->elementSize = payloadSize + static_cast<uint32_t>(sizeof(ListElement));
}

ListElement* ListAdd(List& list) {
    ListHeader* header = list.header;
    if (header == nullptr) return nullptr;
    ListElement* element = static_cast<ListElement*>(HeapAlloc(MainHeap, HEAP_ZERO_MEMORY, header->elementSize));
    if (element == nullptr) return nullptr;  // list and cursor stay as they were
    ListElement* current = list.current;
    if (current == nullptr) {
        element->next = header->first;
        element->previous = nullptr;
        if (header->first != nullptr) header->first->previous = element;
    } else {
        element->previous = current;
        element->next = current->next;
        if (current->next != nullptr) current->next->previous = element;
        current->next = element;
    }
    list.current = element;
    if (element->previous == nullptr) header->first = element;
    if (element->next == nullptr) header->last = element;
    return element;
}

ListElement* ListPrevious(List& list) {
    if (list.current == nullptr || list.current->previous == nullptr) return nullptr;
    list.current = list.current->previous;
    return list.current;
}

void ListReset(List& list) { list.current = nullptr; }

ListElement* ListNext(List& list) {
    if (list.current == nullptr) {
        if (list.header == nullptr) return nullptr;
        list.current = list.header->first;
        return list.current;
    }
    if (list.current->next == nullptr) return nullptr;
    list.current = list.current->next;
    return list.current;
}

int32_t ListDeleteCurrent(List& list) {
    ListElement* element = list.current;
    if (element == nullptr) return 0;
    ListHeader* header = list.header;
    ListElement* next = element->next;
    ListElement* previous = element->previous;
    if (previous == nullptr)
        header->first = next;
    else
        previous->next = next;
    if (next == nullptr)
        header->last = previous;
    else
        next->previous = previous;
    list.current = previous;
    HeapFree(MainHeap, 0, element);
    return 1;
}

void ListClear(List& list) {
    ListReset(list);
    while (ListNext(list) != nullptr) ListDeleteCurrent(list);
}
