"""Alignment.column_stats(): the numbers of --stats, for the columns and sequences a figure would show."""

import csv

import pytest
from conftest import TEST_DATA, run_command

import msarender


def _table(path):
    with open(path, newline="") as handle:
        return list(csv.DictReader(handle, delimiter="\t"))


class TestColumnStats:
    def test_every_column_of_a_protein_family_is_described(self):
        stats = msarender.read(TEST_DATA / "globins4.sto").column_stats()
        assert len(stats) == 171
        first = stats[0]
        assert first["column"] == 1 and first["residues"] + first["gaps"] == 4
        assert all(column["quality"] is not None for column in stats)
        # The best column by quality has the highest quality there is, and no gaps cost it anything.
        assert max(column["quality"] for column in stats) > 0
        for column in stats:
            assert sum(column["counts"].values()) <= column["residues"]
            assert 0 <= column["bits"] <= 4.33

    def test_the_same_numbers_as_the_command_writes(self, tmp_path):
        table = tmp_path / "stats.tsv"
        run_command(TEST_DATA / "globins4.sto", "-o", tmp_path / "g.png", "--stats", table, "--columns", "20-30")
        written = _table(table)
        stats = msarender.read(TEST_DATA / "globins4.sto").column_stats(columns="20-30")
        assert [int(row["column"]) for row in written] == [column["column"] for column in stats] == list(range(20, 31))
        for row, column in zip(written, stats):
            assert int(row["residues"]) == column["residues"]
            assert row["consensus"] == (column["consensus"] or "")
            assert float(row["bits"]) == pytest.approx(column["bits"], abs=1e-4)
            assert float(row["quality"]) == pytest.approx(column["quality"], abs=1e-3)
            for letter, count in column["counts"].items():
                assert int(row[letter]) == count

    def test_chosen_and_hidden_sequences_are_not_counted(self):
        alignment = msarender.Alignment(["a", "b", "c"], ["MK", "MR", "M-"])
        assert [c["residues"] for c in alignment.column_stats()] == [3, 2]
        kept = alignment.column_stats(sequences="a,b")
        assert [c["gaps"] for c in kept] == [0, 0] and kept[1]["consensus"] == "+"
        hidden = alignment.column_stats(hide="b,c")
        assert hidden[1]["counts"] == {"K": 1} and hidden[1]["consensus_percent"] == 100.0
        assert alignment.column_stats(ruler_origin=2)[0]["column"] == 0

    def test_nucleic_acids_have_no_conservation_or_quality(self):
        stats = msarender.read(TEST_DATA / "srp-euk.sto").column_stats(columns="1-3")
        assert [c["conservation"] for c in stats] == [None] * 3
        assert [c["quality"] for c in stats] == [None] * 3

    def test_bad_lists_and_unknown_keywords_are_refused(self):
        alignment = msarender.read(TEST_DATA / "globins4.sto")
        with pytest.raises(ValueError, match="--columns"):
            alignment.column_stats(columns="900-950")
        with pytest.raises(ValueError, match="--sequences"):
            alignment.column_stats(sequences="NO_SUCH")
        with pytest.raises(TypeError, match="colour"):
            alignment.column_stats(colour="red")
