"""Company connect, the year database helper, and the lifetime of objects."""
import gc
import os
import pathlib

import pytest

import orv
from conftest import Y1, Y2


def test_connect_opens_the_year_and_names_its_tables(company, data_folder, messages, year_db):
    assert messages == ["Connection successfull...", "Tables Initialised ..."]
    assert company.cn.State == 1
    assert company.cn.ConnectionString == (
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + data_folder + "ACME\\ACME_2008_2009.mdb"
        ";Jet OLEDB:Database Password=K58!q47T%61d25&w84R"
    )
    assert (company.Table.AM, company.Table.AD) == ("ACC_MASTER_2008_2009", "ACC_DETAILS_2008_2009")


def test_connecting_another_year_reopens_the_same_connection(company, data_folder):
    orv.create_year_database(pathlib.Path(data_folder), "ACME", 2009, 2010)
    first = company.cn
    company.CurrentYear1, company.CurrentYear2 = 2009, 2010
    assert company.ORVConnect(data_folder) == 0
    assert company.cn == first and first.State == 1
    assert company.Table.AM == "ACC_MASTER_2009_2010"


def test_a_class_id_creates_the_same_class_as_its_prog_id():
    by_id = orv.create("{EB31EC61-A725-481A-BC01-5F3C5FC9D135}")
    by_lower_id = orv.create("eb31ec61-a725-481a-bc01-5f3c5fc9d135")
    assert "clsCompany" in repr(by_id) and "clsCompany" in repr(by_lower_id)
    assert dir(by_id) == dir(orv.create("orvcompany.CLSCOMPANY"))
    assert by_id != by_lower_id  # two objects


def test_create_year_database_makes_the_file_orvdb_would(tmp_path):
    path = orv.create_year_database(str(tmp_path), "ACME", 2010, 2011)
    assert path == str(tmp_path / "ACME" / "ACME_2010_2011.mdb")
    assert os.stat(path).st_mode & 0o777 == 0o600
    with pytest.raises(orv.Error) as e:
        orv.create_year_database(tmp_path, "ACME", 2010, 2011)
    assert e.value.number == 3204


@pytest.mark.parametrize(
    "short_name, year, error",
    [
        ("", Y1, ValueError),
        ("A/B", Y1, ValueError),
        ("A\\B", Y1, ValueError),
        ("..", Y1, ValueError),
        ("A\0B", Y1, ValueError),
        ("ACME", "2008", TypeError),
        ("ACME", 2008.0, TypeError),
    ],
)
def test_create_year_database_refuses_bad_names_and_years(tmp_path, short_name, year, error):
    with pytest.raises(error):
        orv.create_year_database(tmp_path, short_name, year, Y2)
    assert not any(tmp_path.iterdir())


def test_create_year_database_year_out_of_range_is_the_overflow_error(tmp_path):
    with pytest.raises(orv.Error) as e:
        orv.create_year_database(tmp_path, "ACME", 2008, 40000)
    assert e.value.number == 6


def test_objects_are_released_when_python_drops_them(year_db, data_folder, messages):
    # SQLite removes the write-ahead log when the last connection to the file closes, which
    # happens when the last reference to the connection object goes.
    wal = pathlib.Path(str(year_db) + "-wal")
    company = orv.create("ORVCompany.clsCompany")
    company.ShortName, company.CurrentYear1, company.CurrentYear2 = "ACME", Y1, Y2
    company.ORVConnect(data_folder)
    assert wal.exists()
    cn = company.cn
    del company
    gc.collect()
    assert wal.exists() and cn.State == 1  # the connection is still held
    tables = [cn]
    del cn
    assert wal.exists()
    tables.clear()
    assert not wal.exists()
