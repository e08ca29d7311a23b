#pragma once

// rand() % trunc(extent), as a float: the random column or row offset used to
// place things beyond the right edge. A world too small to give a range at
// all (the remainder would divide by zero) gives 0. The draw is made either
// way, so a seeded run takes the same numbers whatever the world's size.
float randomBelow(float extent);
