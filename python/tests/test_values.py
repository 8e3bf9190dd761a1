"""How Python values cross to automation members and back."""
import datetime
import pickle

import pytest

import orv
from conftest import requires


@pytest.fixture
def company():
    return orv.create("ORVCompany.clsCompany")


# (value assigned, what the 16-bit property CurrentYear1 then holds)
INT16_PUTS = [
    (32767, 32767),
    (-32768, -32768),
    (True, -1),  # a bool crosses as a boolean, whose true is -1, not as the int 1
    (False, 0),
    (2.5, 2),  # a float crosses as a double and the member rounds it, halves to even
    (3.5, 4),
    ("12", 12),
    (None, 0),  # Empty
]


@pytest.mark.parametrize("value, expected", INT16_PUTS)
def test_int16_property_converts_what_python_passes(company, value, expected):
    company.CurrentYear1 = value
    got = company.CurrentYear1
    assert got == expected and type(got) is int


@pytest.mark.parametrize("value", [32768, -32769, 2**31, 2**80, -(2**80)])
def test_int_outside_the_declared_integer_type_is_the_overflow_error(company, value):
    company.CurrentYear1 = 7
    with pytest.raises(orv.Error) as e:
        company.CurrentYear1 = value
    assert e.value.number == 6
    assert company.CurrentYear1 == 7


@pytest.mark.parametrize(
    "value, expected",
    [
        ("Müller & Söhne 'Ltd'", "Müller & Söhne 'Ltd'"),
        ("", ""),
        ("\udcff raw byte", "\udcff raw byte"),  # not UTF-8: kept through a round trip
        (7, "7"),
        (2**40, "1099511627776"),  # wider than 32 bits: a double, written without exponent
        (1.5, "1.5"),
        (None, ""),
    ],
)
def test_text_property_round_trips_and_converts(company, value, expected):
    company.ShortName = value
    assert company.ShortName == expected


def test_member_names_match_without_regard_to_case(company):
    company.SHORTNAME = "acme"
    assert company.shortName == "acme"
    assert repr(company.orvconnect) == "<orv method clsCompany.ORVConnect>"
    assert {"ShortName", "cn", "ORVConnect"} <= set(dir(company))


def test_null_crosses_as_null_not_as_empty(company):
    assert orv.Null is pickle.loads(pickle.dumps(orv.Null))
    assert repr(orv.Null) == "orv.Null" and not orv.Null
    # A text property takes Empty as "", but Null is the invalid-use-of-Null error.
    company.ShortName = "kept"
    with pytest.raises(orv.Error) as e:
        company.ShortName = orv.Null
    assert e.value.number == 94
    assert company.ShortName == "kept"


@pytest.mark.parametrize("value", [{}, b"bytes", object(), 1j])
def test_values_without_an_automation_counterpart_are_refused(company, value):
    with pytest.raises(TypeError):
        company.ShortName = value


def test_objects_cross_as_themselves_and_compare_by_identity(company):
    tables = orv.create("ORVCompany.clsTables")
    assert company.Table != tables
    company.Table = tables  # a put by reference: the company now holds this very object
    assert company.Table == tables
    assert company.Table is not company.Table  # two wrappers of one object
    assert len({company.Table, company.Table, tables}) == 1
    assert company.Table != company.cn and company.Table != "clsTables"
    company.Table = None  # an object reference set to nothing
    assert company.Table is None


def test_an_object_of_the_wrong_kind_is_refused_by_the_member(company):
    with pytest.raises(orv.Error) as e:
        company.cn = orv.create("ORVCompany.clsTables")
    assert e.value.number == 13


@requires("masters", "ORVMasters.clsAccount")
def test_plain_object_put_shares_the_object_and_numbers_become_doubles_and_booleans():
    account = orv.create("ORVMasters.clsAccount")
    details = orv.create("ORVMasters.clsAccountDetails")
    account.AD = details  # AD takes a plain put, not a put by reference
    details.Email = "a@b.example"
    assert account.AD == details and account.AD.Email == "a@b.example"

    account.OpeningBalance = 5
    assert account.OpeningBalance == 5.0 and type(account.OpeningBalance) is float
    account.OpeningBalance = 2**80
    assert account.OpeningBalance == float(2**80)
    details.UsedInVat = True
    assert details.UsedInVat is True
    details.UsedInVat = 0
    assert details.UsedInVat is False


@requires("trade", "ORVVchr.clsVchr")
@pytest.mark.parametrize(
    "value, expected",
    [
        (datetime.date(2008, 9, 12), datetime.datetime(2008, 9, 12)),
        (datetime.datetime(2008, 9, 12, 13, 45, 30), datetime.datetime(2008, 9, 12, 13, 45, 30)),
        (
            datetime.datetime(2008, 9, 12, 13, 45, 30, 600000),
            datetime.datetime(2008, 9, 12, 13, 45, 31),
        ),
        # Before the epoch the time of day still counts forward from midnight.
        (datetime.datetime(1899, 12, 29, 6, 0), datetime.datetime(1899, 12, 29, 6, 0)),
        (datetime.datetime(1800, 1, 1, 23, 59, 59), datetime.datetime(1800, 1, 1, 23, 59, 59)),
        ("2008-04-01", datetime.datetime(2008, 4, 1)),
        (None, datetime.datetime(1899, 12, 30)),
    ],
)
def test_dates_cross_as_dates_and_come_back_as_datetimes(value, expected):
    row = orv.create("ORVVchr.clsVchr")
    row.V_Date = value
    got = row.V_Date
    assert got == expected and type(got) is datetime.datetime


@requires("trade", "ORVVchr.clsVchr")
def test_a_date_outside_the_automation_years_is_a_type_mismatch():
    row = orv.create("ORVVchr.clsVchr")
    with pytest.raises(orv.Error) as e:
        row.V_Date = datetime.date(99, 12, 31)
    assert e.value.number == 13
