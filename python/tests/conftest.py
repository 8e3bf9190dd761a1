"""Fixtures of the orv tests: a fresh year database per test, a connected company and the
modal messages it shows.

The module is imported from PYTHONPATH (the build's python/ folder) and creates components
through ORV_REGISTRY, or through its build's registry file when that is not set.
"""
import contextlib
import pathlib
import sqlite3

import pytest

import orv

Y1, Y2 = 2008, 2009
SOURCE_TREE = pathlib.Path(__file__).resolve().parents[2]


def put(obj, **properties):
    """Assigns each property of obj in turn."""
    for name, value in properties.items():
        setattr(obj, name, value)


def requires(directory, prog_id):
    """Skips a test while its component is absent from the source tree (and so not built).

    A component that is in the tree is never skipped: failing to create it fails the test.
    """
    absent = not (SOURCE_TREE / directory / "CMakeLists.txt").exists()
    if absent:
        try:
            orv.create(prog_id)
            absent = False
        except orv.Error:
            pass
    return pytest.mark.skipif(absent, reason=f"{directory}/ is not in this tree")


@pytest.fixture
def year_db(tmp_path):
    """The path of a new year database of company ACME for 2008/2009 under tmp_path."""
    return pathlib.Path(orv.create_year_database(tmp_path, "ACME", Y1, Y2))


@pytest.fixture
def messages():
    """The texts of the modal messages shown during the test."""
    shown = []
    orv.set_message_handler(shown.append)
    yield shown
    orv.set_message_handler(None)


@pytest.fixture
def data_folder(year_db):
    """The data folder of year_db as ORVConnect takes it: with its trailing separator."""
    return str(year_db.parent.parent) + "/"


@pytest.fixture
def company(data_folder, messages):
    """A clsCompany connected to the year database of year_db."""
    c = orv.create("ORVCompany.clsCompany")
    c.ShortName = "ACME"
    c.CurrentYear1 = Y1
    c.CurrentYear2 = Y2
    c.ORVConnect(data_folder)
    return c


@pytest.fixture
def cn(company):
    return company.cn


@pytest.fixture
def rows(year_db):
    """rows(sql, *params): what the year database holds, read beside the components."""

    def query(sql, *params):
        with contextlib.closing(sqlite3.connect(f"file:{year_db}?mode=ro", uri=True)) as db:
            return db.execute(sql, params).fetchall()

    return query


@pytest.fixture
def new_account(cn):
    """new_account(id, name, flag="L", group=0): saves an account through clsAccount."""

    def save(account_id, name, flag="L", group=0):
        a = orv.create("ORVMasters.clsAccount")
        a.AccountId = account_id
        a.AccountName = name
        a.GroupFlag = flag
        a.GroupNo = group
        a.AD.AccountId = account_id
        a.Save("New", account_id, cn, Y1, Y2)
        return a

    return save
