#include "core/sim/TransactList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <vector>

#include "TestSupport.h"

#include "core/model/PriorityChange.h"
#include "core/model/TransactMoves.h"
#include "core/sim/ChainSet.h"
#include "core/sim/Rand.h"
#include "core/sim/TransactRope.h"

namespace mardo {
namespace {

using test::ListOf;
using test::Numbers;
using test::Priorities;

CTransact T(std::int32_t nNumber, std::int32_t nPriority = 0) {
    return CTransact(nullptr, nNumber, nPriority);
}

TEST(TransactListTest, FifoWithLimitTakesFromTheFrontUpToTheLimit) {
    CTransactList source = ListOf({T(1), T(2), T(3)});
    CTransactList target = ListOf({T(9)});
    TakeFifo(target, &source, 2, true, nullptr);
    EXPECT_EQ(Numbers(source), (std::vector<std::int32_t>{3}));
    EXPECT_EQ(Numbers(target), (std::vector<std::int32_t>{9, 1, 2}));

    // A limit of 0 moves nothing; without the limit everything moves.
    TakeFifo(target, &source, 0, true, nullptr);
    EXPECT_EQ(source.GetCount(), 1u);
    TakeFifo(target, &source, 0, false, nullptr);
    EXPECT_TRUE(source.IsEmpty());
    EXPECT_EQ(Numbers(target), (std::vector<std::int32_t>{9, 1, 2, 3}));
}

TEST(TransactListTest, LifoPutsABatchInReverseAheadOfOlderTransacts) {
    CTransactList source = ListOf({T(1), T(2)});
    CTransactList target = ListOf({T(9)});
    TakeLifo(target, &source, 0, false, nullptr);
    EXPECT_EQ(Numbers(target), (std::vector<std::int32_t>{2, 1, 9}));
}

TEST(TransactListTest, MovesIgnoreNoSourceAndTheTargetItself) {
    CTransactList list = ListOf({T(1), T(2)});
    TakeFifo(list, nullptr, 0, false, nullptr);
    TakeLifo(list, &list, 0, false, nullptr);
    TakeRandom(list, &list, 0, false, nullptr);
    EXPECT_EQ(Numbers(list), (std::vector<std::int32_t>{1, 2}));
}

TEST(TransactListTest, PriorityInsertionGoesBehindEqualAndAheadOfLower) {
    CTransactList target = ListOf({T(1, 9), T(2, 5), T(3, 5), T(4, 2)});
    CTransactList source = ListOf({T(7, 5)});
    TakeByPriority(target, &source, 0, false, nullptr);
    EXPECT_EQ(Numbers(target), (std::vector<std::int32_t>{1, 2, 3, 7, 4}));

    // Arrivals 5, 7, 5 into an empty list: 7 first, the two 5s in arrival order.
    CTransactList queue;
    CTransactList arrivals = ListOf({T(1, 5), T(2, 7), T(3, 5)});
    TakeByPriority(queue, &arrivals, 0, false, nullptr);
    EXPECT_EQ(Numbers(queue), (std::vector<std::int32_t>{2, 1, 3}));
}

TEST(TransactListTest, PriorityInsertionIntoAnUnorderedListFindsTheFirstLowerTransact) {
    // A list built by other moves need not fall in priority; the place is still the one
    // before the first transact of lower priority.
    CTransactList target = ListOf({T(1, 1), T(2, 8), T(3, 3)});
    target.InsertByPriority(T(4, 2));
    EXPECT_EQ(Numbers(target), (std::vector<std::int32_t>{4, 1, 2, 3}));
    target.InsertByPriority(T(5, 0));
    EXPECT_EQ(Numbers(target), (std::vector<std::int32_t>{4, 1, 2, 3, 5}));
}

TEST(TransactListTest, PriorityInsertionMatchesAWalkOverLongRandomSequences) {
    ResetRand();
    CTransactList list;
    std::vector<CTransact> expected;
    for (std::int32_t i = 0; i < 3000; ++i) {
        const CTransact t = T(i, Rand() % 7);
        if (i % 5 == 4) {
            list.PopFront();
            expected.erase(expected.begin());
        }
        list.InsertByPriority(t);
        auto it = expected.begin();
        while (it != expected.end() && it->GetPriority() >= t.GetPriority()) {
            ++it;
        }
        expected.insert(it, t);
    }
    ASSERT_EQ(list.GetCount(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(list.At(i), expected[i]) << i;
    }
}

TEST(TransactListTest, PriorityInsertionIntoALongListStaysExactAfterInsertionsOutOfOrder) {
    // Once the list is long enough to be a rope, now and then a transact goes to any place,
    // which may break the falling order (also at the edge of a chunk) that lets a priority
    // insertion halve.
    std::mt19937 random(11);
    CTransactList list;
    std::vector<CTransact> expected;
    for (std::int32_t i = 0; i < 9000; ++i) {
        const CTransact t = T(i, static_cast<std::int32_t>(random() % 7));
        if (i > 6000 && i % 40 == 39) {
            const std::size_t k = random() % (expected.size() + 1);
            list.InsertAt(k, t);
            expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(k), t);
            continue;
        }
        if (i % 9 == 8) {
            ASSERT_EQ(list.PopFront(), expected.front());
            expected.erase(expected.begin());
        }
        list.InsertByPriority(t);
        const auto it = std::find_if(expected.begin(), expected.end(), [&t](const CTransact& e) {
            return e.GetPriority() < t.GetPriority();
        });
        expected.insert(it, t);
    }
    ASSERT_EQ(list.GetCount(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(list.At(i), expected[i]) << i;
    }
}

TEST(TransactRopeTest, AnInsertionTellsWhetherItKeepsTheFallingOrderAcrossChunks) {
    // Chunks start half full: positions 0..127 of priority 9 fill the first, 128.. of 5 the
    // second, so position 128 is the first place of the second chunk.
    auto falling = [] {
        std::vector<CTransact> transacts(128, T(0, 9));
        transacts.resize(256, T(0, 5));
        return CTransactRope(transacts);
    };
    CTransactRope rope = falling();
    EXPECT_TRUE(rope.InsertAt(128, T(1, 9)));
    EXPECT_TRUE(rope.InsertAt(rope.GetCount(), T(2, 5)));
    EXPECT_TRUE(rope.InsertAt(0, T(3, 9)));
    CTransactRope above = falling();
    EXPECT_FALSE(above.InsertAt(128, T(1, 10)));  // above the last of the chunk before
    CTransactRope below = falling();
    EXPECT_FALSE(below.InsertAt(128, T(1, 4)));  // below the first of its own chunk
    EXPECT_FALSE(below.InsertAt(0, T(2, 8)));
    EXPECT_EQ(below.At(129), T(1, 4));
}

TEST(TransactListTest, RandomInsertionUsesTheProductOfFourDraws) {
    CTransactList target = ListOf({T(1), T(2), T(3)});
    CTransactList source = ListOf({T(7)});
    ResetRand();
    std::uint32_t nProduct = 1;
    for (int i = 0; i < 4; ++i) {
        nProduct *= static_cast<std::uint32_t>(Rand());
    }
    const std::uint32_t k = nProduct % 4;
    ResetRand();
    TakeRandom(target, &source, 0, false, nullptr);
    EXPECT_EQ(target.At(k).GetNumber(), 7);
    EXPECT_EQ(target.GetCount(), 4u);
    // Exactly four draws were consumed: the fifth value comes next.
    const int nNext = Rand();
    ResetRand();
    for (int i = 0; i < 4; ++i) {
        Rand();
    }
    EXPECT_EQ(nNext, Rand());
}

TEST(TransactListTest, PriorityRulesClampAtBothEnds) {
    CPriorityChange raise{CPriorityChange::kRaise, 600};
    CTransact t = T(1, 700);
    raise.Apply(t);
    EXPECT_EQ(t.GetPriority(), 1000);

    CPriorityChange lower{CPriorityChange::kLower, 50};
    CTransact u = T(1, 30);
    lower.Apply(u);
    EXPECT_EQ(u.GetPriority(), 0);

    // The rule is applied before the transact is placed.
    CTransactList target = ListOf({T(1, 100)});
    CTransactList source = ListOf({T(2, 10)});
    CPriorityChange big{CPriorityChange::kRaise, 500};
    TakeByPriority(target, &source, 0, false, &big);
    EXPECT_EQ(Priorities(target), (std::vector<std::int32_t>{510, 100}));
}

TEST(TransactListTest, CopiesEqualTheirSourceUntilAPriorityChange) {
    CTransactList list;
    const CTransact source(nullptr, 4, 3);
    list.AppendCopies(source, 3);
    ASSERT_EQ(list.GetCount(), 3u);
    ASSERT_FALSE(list.IsEmpty());
    EXPECT_EQ(list.Front(), source);
    CTransact copy = list.PopFront();
    copy.RaisePriority(1);
    EXPECT_FALSE(copy == source);
}

TEST(TransactListTest, SwapExchangesContentsAndRingWrapsKeepOrder) {
    CTransactList a = ListOf({T(1), T(2)});
    CTransactList b;
    a.Swap(b);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(Numbers(b), (std::vector<std::int32_t>{1, 2}));

    // Alternate pushes at both ends and pops so that the buffer wraps around many times.
    CTransactList ring;
    std::vector<std::int32_t> expected;
    for (std::int32_t i = 0; i < 100; ++i) {
        if (i % 3 == 0) {
            ring.PushFront(T(i));
            expected.insert(expected.begin(), i);
        } else {
            ring.PushBack(T(i));
            expected.push_back(i);
        }
        if (i % 4 == 3) {
            EXPECT_EQ(ring.PopFront().GetNumber(), expected.front());
            expected.erase(expected.begin());
        }
        ring.InsertAt(expected.size() / 3, T(1000 + i));
        expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(expected.size() / 3), 1000 + i);
    }
    EXPECT_EQ(Numbers(ring), expected);
    ring.DeleteAll();
    EXPECT_TRUE(ring.IsEmpty());
}

TEST(ChainSetTest, TakeBestPrefersPriorityThenLengthThenRegistration) {
    CTransactList a = ListOf({T(1, 3), T(0), T(0), T(0)});
    CTransactList b = ListOf({T(2, 7), T(0)});
    CTransactList c = ListOf({T(3, 7), T(0), T(0), T(0), T(0)});
    CChainSet set;
    set.Add(&a);
    set.Add(&b);
    set.Add(&c);
    set.Add(&a);  // already there
    EXPECT_EQ(set.GetListCount(), 3u);
    EXPECT_EQ(set.TakeBest()->GetNumber(), 3);
    EXPECT_EQ(a.GetCount(), 4u);
    EXPECT_EQ(b.GetCount(), 2u);

    // Counts 4, 5, 5 with heads 3, 7, 7: the earlier of the two equal lists wins.
    CTransactList d = ListOf({T(1, 3), T(0), T(0), T(0)});
    CTransactList e = ListOf({T(2, 7), T(0), T(0), T(0), T(0)});
    CTransactList f = ListOf({T(3, 7), T(0), T(0), T(0), T(0)});
    CChainSet other;
    other.Add(&d);
    other.Add(&e);
    other.Add(&f);
    EXPECT_EQ(other.TakeBest()->GetNumber(), 2);
    EXPECT_EQ(other.GetTotalCount(), 13u);
}

TEST(ChainSetTest, TakeBestOverNothingChangesNothing) {
    CChainSet set;
    EXPECT_FALSE(set.TakeBest().has_value());
    CTransactList empty;
    set.Add(&empty);
    EXPECT_FALSE(set.TakeBest().has_value());
    EXPECT_EQ(set.GetTotalCount(), 0u);
}

}  // namespace
}  // namespace mardo

namespace mardo {
namespace {

TEST(TransactListTest, LongListsKeepOrderThroughRopeAndBack) {
    // Grow past the length at which middle insertions turn the list into a rope, shrink below
    // the length at which it turns back, and compare with a plain sequence all along.
    std::mt19937 random(7);
    CTransactList list;
    std::deque<std::int32_t> expected;
    auto check = [&] {
        ASSERT_EQ(list.GetCount(), expected.size());
        for (std::size_t i = 0; i < expected.size(); i += 97) {
            ASSERT_EQ(list.At(i).GetNumber(), expected[i]) << i;
        }
        if (!expected.empty()) {
            ASSERT_EQ(list.Front().GetNumber(), expected.front());
            ASSERT_EQ(list.Back().GetNumber(), expected.back());
        }
    };
    std::int32_t nNext = 0;
    for (int nPhase = 0; nPhase < 2; ++nPhase) {
        for (int i = 0; i < 12000; ++i) {
            const std::size_t k = random() % (expected.size() + 1);
            switch (random() % 4) {
                case 0:
                    list.PushBack(T(nNext));
                    expected.push_back(nNext);
                    break;
                case 1:
                    list.PushFront(T(nNext));
                    expected.push_front(nNext);
                    break;
                default:
                    list.InsertAt(k, T(nNext));
                    expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(k), nNext);
            }
            ++nNext;
            if (i % 3 == 0) {
                ASSERT_EQ(list.PopFront().GetNumber(), expected.front());
                expected.pop_front();
            }
        }
        check();
        while (expected.size() > 100) {
            ASSERT_EQ(list.PopFront().GetNumber(), expected.front());
            expected.pop_front();
        }
        check();
    }
    CTransactList other;
    other.Swap(list);
    EXPECT_EQ(other.GetCount(), expected.size());
    EXPECT_TRUE(list.IsEmpty());
}

}  // namespace
}  // namespace mardo
