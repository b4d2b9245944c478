#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/main_heap.h"

namespace {

struct Item {
    int value;
    char padding[20];
};

int& ValueOf(ListElement* element) { return static_cast<Item*>(ListPayload(element))->value; }

class ListTest : public MainHeapTest {
protected:
    void SetUp() override {
        MainHeapTest::SetUp();
        list = List{};
        ListInit(list, sizeof(Item));
        ASSERT_NE(list.header, nullptr);
    }

    // Appends elements with these values in order; leaves the cursor on the last.
    void Fill(std::initializer_list<int> values) {
        for (int value : values) ValueOf(ListAdd(list)) = value;
    }

    // Values from first to last by the next links, checked against the
    // previous links on the way back.
    std::vector<int> Values() const {
        std::vector<int> forward;
        for (ListElement* e = list.header->first; e != nullptr; e = e->next) forward.push_back(ValueOf(e));
        std::vector<int> backward;
        for (ListElement* e = list.header->last; e != nullptr; e = e->previous) backward.insert(backward.begin(), ValueOf(e));
        EXPECT_EQ(forward, backward) << "next and previous links disagree";
        return forward;
    }

    List list{};
};

TEST_F(ListTest, InitGivesEmptyListWithElementSizeIncludingLinks) {
    EXPECT_EQ(list.header->first, nullptr);
    EXPECT_EQ(list.header->last, nullptr);
    EXPECT_EQ(list.current, nullptr);
    EXPECT_EQ(list.header->elementSize, sizeof(Item) + 2 * sizeof(void*));
}

TEST_F(ListTest, NextOnEmptyListReturnsNullAndCursorStaysBeforeFirst) {
    EXPECT_EQ(ListNext(list), nullptr);
    EXPECT_EQ(list.current, nullptr);
    EXPECT_EQ(ListPrevious(list), nullptr);
    EXPECT_EQ(ListDeleteCurrent(list), 0);
}

TEST_F(ListTest, AddOnEmptyListMakesTheOnlyZeroFilledElement) {
    // Dirty the heap first so that zero fill is not an accident of fresh memory.
    void* junk = HeapAlloc(MainHeap, 0, list.header->elementSize);
    std::memset(junk, 0xAB, list.header->elementSize);
    HeapFree(MainHeap, 0, junk);

    ListElement* element = ListAdd(list);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(list.header->first, element);
    EXPECT_EQ(list.header->last, element);
    EXPECT_EQ(list.current, element);
    EXPECT_EQ(element->next, nullptr);
    EXPECT_EQ(element->previous, nullptr);
    const unsigned char* payload = static_cast<unsigned char*>(ListPayload(element));
    for (size_t i = 0; i < sizeof(Item); ++i) ASSERT_EQ(payload[i], 0) << "payload byte " << i;
}

TEST_F(ListTest, AddsGoInCreationOrderAfterTheCurrentElement) {
    Fill({1, 2, 3});
    EXPECT_EQ(Values(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ValueOf(list.current), 3);
}

TEST_F(ListTest, AddAfterResetInsertsInFrontOfTheFirst) {
    Fill({1, 2});
    ListReset(list);
    EXPECT_EQ(list.current, nullptr);
    ValueOf(ListAdd(list)) = 0;
    EXPECT_EQ(Values(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(ValueOf(list.header->first), 0);
}

TEST_F(ListTest, WalkToTheEndLeavesCursorOnLastAndAddAppends) {
    Fill({1, 2});
    ListReset(list);
    std::vector<int> seen;
    while (ListNext(list) != nullptr) seen.push_back(ValueOf(list.current));
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
    EXPECT_EQ(ValueOf(list.current), 2);
    ValueOf(ListAdd(list)) = 3;
    EXPECT_EQ(ListNext(list), nullptr);
    EXPECT_EQ(Values(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ValueOf(list.header->last), 3);
}

// Deleting the visited element of A, B, C, for each position.
struct DeleteCase {
    int deleted;               // value of the element deleted during the walk
    int cursorAfter;           // value under the cursor afterwards; 0 = before the first
    std::vector<int> remaining;
    int nextAfter;             // value ListNext yields next; 0 = null
};

class ListDeleteWhileWalking : public ListTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(ListDeleteWhileWalking, CursorMovesToThePreviousAndWalkGoesOnWithTheFollower) {
    const DeleteCase& c = GetParam();
    Fill({1, 2, 3});
    ListReset(list);
    while (ValueOf(ListNext(list)) != c.deleted) {
    }
    EXPECT_NE(ListDeleteCurrent(list), 0);
    if (c.cursorAfter == 0)
        EXPECT_EQ(list.current, nullptr);
    else
        EXPECT_EQ(ValueOf(list.current), c.cursorAfter);
    EXPECT_EQ(Values(), c.remaining);
    EXPECT_EQ(ValueOf(list.header->first), c.remaining.front());
    EXPECT_EQ(ValueOf(list.header->last), c.remaining.back());
    ListElement* next = ListNext(list);
    if (c.nextAfter == 0)
        EXPECT_EQ(next, nullptr);
    else
        EXPECT_EQ(ValueOf(next), c.nextAfter);
}

INSTANTIATE_TEST_SUITE_P(FirstMiddleLast, ListDeleteWhileWalking,
                         ::testing::Values(DeleteCase{1, 0, {2, 3}, 2}, DeleteCase{2, 1, {1, 3}, 3},
                                           DeleteCase{3, 2, {1, 2}, 0}));

TEST_F(ListTest, WalkDeletingEveryElementEmptiesTheList) {
    Fill({1, 2, 3, 4});
    ListReset(list);
    std::vector<int> visited;
    while (ListNext(list) != nullptr) {
        visited.push_back(ValueOf(list.current));
        ListDeleteCurrent(list);
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(list.header->first, nullptr);
    EXPECT_EQ(list.header->last, nullptr);
    EXPECT_EQ(list.current, nullptr);
}

TEST_F(ListTest, DeletingTheOnlyElementEmptiesTheList) {
    Fill({7});
    EXPECT_NE(ListDeleteCurrent(list), 0);
    EXPECT_EQ(list.header->first, nullptr);
    EXPECT_EQ(list.header->last, nullptr);
    EXPECT_EQ(list.current, nullptr);
}

TEST_F(ListTest, InsertionsBehindTheVisitedElementAreVisitedNewestFirst) {
    Fill({'S', 'T'});
    ListReset(list);
    ASSERT_EQ(ValueOf(ListNext(list)), 'S');
    ValueOf(ListAdd(list)) = 'X';
    EXPECT_EQ(ValueOf(ListPrevious(list)), 'S');
    ValueOf(ListAdd(list)) = 'Y';
    EXPECT_EQ(ValueOf(ListPrevious(list)), 'S');
    EXPECT_EQ(ValueOf(list.current), 'S');
    EXPECT_EQ(Values(), (std::vector<int>{'S', 'Y', 'X', 'T'}));
    std::vector<int> rest;
    while (ListNext(list) != nullptr) rest.push_back(ValueOf(list.current));
    EXPECT_EQ(rest, (std::vector<int>{'Y', 'X', 'T'}));
}

TEST_F(ListTest, PreviousStopsAtTheFirstElement) {
    Fill({1, 2});
    EXPECT_EQ(ValueOf(ListPrevious(list)), 1);
    EXPECT_EQ(ListPrevious(list), nullptr);
    EXPECT_EQ(ValueOf(list.current), 1);
}

TEST_F(ListTest, DeleteWithCursorBeforeFirstChangesNothing) {
    Fill({1, 2});
    ListReset(list);
    EXPECT_EQ(ListDeleteCurrent(list), 0);
    EXPECT_EQ(Values(), (std::vector<int>{1, 2}));
}

TEST_F(ListTest, ClearEmptiesAnyListAndGivesTheBlocksBack) {
    for (int length : {0, 1, 5}) {
        for (int i = 0; i < length; ++i) ValueOf(ListAdd(list)) = i;
        ListClear(list);
        EXPECT_EQ(list.header->first, nullptr);
        EXPECT_EQ(list.header->last, nullptr);
        EXPECT_EQ(list.current, nullptr);
    }
    // The header stays, so the list is usable at once.
    Fill({9});
    EXPECT_EQ(Values(), (std::vector<int>{9}));
}

TEST_F(ListTest, ElementsComeFromMainHeap) {
    ListElement* element = ListAdd(list);
    EXPECT_EQ(HeapSize(MainHeap, 0, element), list.header->elementSize);
    EXPECT_EQ(HeapSize(MainHeap, 0, list.header), sizeof(ListHeader));
}

TEST_F(ListTest, FailedAllocationLeavesTheListUnchanged) {
    // A heap with a small fixed maximum runs out after a few elements.
    HANDLE small = HeapCreate(0, 0, 4096);
    ASSERT_NE(small, nullptr);
    HANDLE saved = MainHeap;
    MainHeap = small;
    List bounded{};
    ListInit(bounded, 1000);
    ASSERT_NE(bounded.header, nullptr);
    int added = 0;
    ListElement* element;
    while ((element = ListAdd(bounded)) != nullptr && added < 100) ++added;
    EXPECT_LT(added, 100) << "the bounded heap should have run out";
    ListElement* last = bounded.header->last;
    EXPECT_EQ(bounded.current, last);
    EXPECT_EQ(last->next, nullptr);
    MainHeap = saved;
    HeapDestroy(small);
}

}  // namespace
