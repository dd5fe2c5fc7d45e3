#!/usr/bin/env python3
"""Makes the example data sets of Tarvik2: reference.gen and samples.gen (Genepop files).

Simulated microsatellite genotypes, Python 3 standard library only, fixed seed: running the
script again writes the same bytes.

Model:
  * 8 loci (MS01 .. MS08), each with 6 to 12 alleles whose sizes step by 2 base pairs (a
    dinucleotide repeat); allele names are the sizes on three digits (Genepop 3).
  * Ancestral allele frequencies drawn from a flat Dirichlet distribution.
  * 4 populations, each derived from the ancestral frequencies by drift (Balding-Nichols
    model: a Dirichlet distribution with parameters p * (1 - F) / F, here F = 0.08).
  * Diploid individuals drawn under Hardy-Weinberg equilibrium from their population's
    frequencies; about 3 % of genotypes are missing ("000000").

reference.gen: the 4 populations, 20 individuals each, one locus per line, LF line ends, named
"Pop" lines. samples.gen: 15 further individuals from the same populations, in 3 unnamed "Pop"
blocks of 5, loci on one line separated by ";", CR LF line ends; the script prints the true
population of each of them.

Usage: python3 examples/make_examples.py   (writes into the folder of the script)
"""

import os
import random

SEED = 20240611
LOCI = ["MS%02d" % (i + 1) for i in range(8)]
POPULATIONS = ["Loire", "Allier", "Vienne", "Creuse"]
REFERENCE_SIZE = 20
SAMPLE_BLOCKS = 3
SAMPLE_BLOCK_SIZE = 5
DRIFT_F = 0.08
MISSING_RATE = 0.03

rng = random.Random(SEED)


def dirichlet(alphas):
    draws = [rng.gammavariate(a, 1.0) for a in alphas]
    total = sum(draws)
    return [d / total for d in draws]


def make_loci():
    """Allele names and ancestral frequencies of each locus."""
    loci = []
    for _ in LOCI:
        count = rng.randint(6, 12)
        first = 2 * rng.randint(45, 90)  # 90 .. 180 base pairs
        alleles = ["%03d" % (first + 2 * i) for i in range(count)]
        loci.append((alleles, dirichlet([1.0] * count)))
    return loci


def population_frequencies(loci):
    scale = (1.0 - DRIFT_F) / DRIFT_F
    return [dirichlet([max(p * scale, 1e-3) for p in ancestral]) for _, ancestral in loci]


def genotype(alleles, frequencies):
    if rng.random() < MISSING_RATE:
        return "000000"
    first, second = rng.choices(alleles, weights=frequencies, k=2)
    return first + second


def individual_line(name, loci, frequencies):
    genotypes = [genotype(alleles, f) for (alleles, _), f in zip(loci, frequencies)]
    return "%s , %s" % (name, " ".join(genotypes))


def write(path, lines, line_end):
    with open(path, "w", encoding="latin-1", newline="") as out:
        out.write("".join(line + line_end for line in lines))


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    loci = make_loci()
    frequencies = {pop: population_frequencies(loci) for pop in POPULATIONS}

    lines = ["Tarvik2 example: reference populations (4 x 20 individuals, 8 microsatellites)"]
    lines += LOCI
    for pop in POPULATIONS:
        lines.append("Pop " + pop)
        for i in range(REFERENCE_SIZE):
            name = "%s%02d" % (pop[:3].upper(), i + 1)
            lines.append(individual_line(name, loci, frequencies[pop]))
    write(os.path.join(folder, "reference.gen"), lines, "\n")

    lines = ["Tarvik2 example: 15 individuals to assign", ";".join(LOCI)]
    origins = []
    for block in range(SAMPLE_BLOCKS):
        lines.append("Pop")
        for i in range(SAMPLE_BLOCK_SIZE):
            name = "S%02d" % (block * SAMPLE_BLOCK_SIZE + i + 1)
            pop = rng.choice(POPULATIONS)
            origins.append((name, pop))
            lines.append(individual_line(name, loci, frequencies[pop]))
    write(os.path.join(folder, "samples.gen"), lines, "\r\n")

    print("True populations of the samples:")
    for name, pop in origins:
        print("  %s  %s" % (name, pop))


if __name__ == "__main__":
    main()
