#include <gtest/gtest.h>

#include <Cassowary/Cassowary.h>

using namespace cassowary;

TEST(Strength, TiersAreClampedAndWeighted) {
    EXPECT_EQ(strength::create(1000, 1000, 1000), strength::required);
    EXPECT_EQ(strength::create(1, 0, 0), strength::strong);
    EXPECT_EQ(strength::create(0, 1, 0), strength::medium);
    EXPECT_EQ(strength::create(0, 0, 1), strength::weak);
    EXPECT_EQ(strength::create(0, 2000, -5), 1000 * strength::medium);
    EXPECT_EQ(strength::create(1, 2, 3, 2), 2 * strength::strong + 4 * strength::medium + 6);
}

TEST(Strength, PrioritiesMapBelowRequiredInOrder) {
    EXPECT_EQ(strength::fromPriority(1000), strength::required);
    EXPECT_EQ(strength::fromPriority(5000), strength::required);
    EXPECT_DOUBLE_EQ(strength::fromPriority(1), strength::weak);
    EXPECT_DOUBLE_EQ(strength::fromPriority(0), strength::weak);
    EXPECT_LT(strength::fromPriority(999), strength::strong);
    double previous = 0;
    for (double priority = 1; priority < 1000; priority += 1) {
        double weight = strength::fromPriority(priority);
        EXPECT_GT(weight, previous) << priority;
        previous = weight;
    }
    // Compression resistance over hugging: a thousandfold.
    EXPECT_GT(strength::fromPriority(750) / strength::fromPriority(250), 999);
}
