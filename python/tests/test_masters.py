"""The account master from Python: an account with its details, the lists and the lookups."""
import pytest

import orv
from conftest import Y1, Y2, put, requires

pytestmark = requires("masters", "ORVMasters.clsAccount")

DETAILS = {
    "ContactPerson1": "R. Sharma",
    "Address": "12 Mill Road",
    "Area": "Central",
    "Pincode": "123",
    "State": "North",
    "Email": "accounts@sharma.example",
    "TINNo": "TIN-77",
    "AgentId": 3,
    "UsedInVat": True,
    "Limit": 5000.5,
    "IS_TDS_Apply": False,
    "TDS_Perc": 2.0,
}


@pytest.fixture
def chart(cn, new_account):
    """A group Debtors (10) with two customers (15, 16), and a cash account (20) outside it."""
    new_account(10, "Debtors", flag="G")
    customer = orv.create("ORVMasters.clsAccount")
    put(customer, AccountId=15, AccountName="Sharma Textiles", GroupFlag="L", GroupNo=10)
    put(customer, OpeningBalance=1250.75, OpeningBalanceSign="Dr")
    put(customer.AD, AccountId=15, **DETAILS)
    assert customer.Save("New", 15, cn, Y1, Y2) is None
    new_account(16, "Mehta & Sons", group=10)
    new_account(20, "Cash")


def test_an_account_saved_with_details_reads_back_in_full(chart, cn, rows):
    account = orv.create("ORVMasters.clsAccount")
    assert account.Read(15, cn, Y1, Y2) is None
    assert (account.AccountId, account.AccountName, account.GroupNo) == (15, "Sharma Textiles", 10)
    assert account.LevelNo == 2
    assert (account.OpeningBalance, account.OpeningBalanceSign) == (1250.75, "Dr")
    details = account.AD
    for name, value in DETAILS.items():
        got = getattr(details, name)
        assert got == value and type(got) is type(value), name
    assert details.PrintAddress == "Central123North"
    assert rows("select AD_GST_No from ACC_DETAILS_2008_2009 where AD_AccId=15") == [("TIN-77",)]
    months = rows("select AB_Month from ACC_BALANCE_2008_2009 where AB_AccId=15 order by rowid")
    assert [m for (m,) in months] == [f"2008{m:02}" for m in range(4, 13)] + [
        "200901",
        "200902",
        "200903",
    ]


def test_list_methods_return_the_count_and_the_filled_array(chart, cn):
    account = orv.create("ORVMasters.clsAccount")
    n, accounts = account.Get_Accounts_With_Id(10, "L", "", "", 0, "AM_AccName", cn, Y1, Y2, [])
    assert n == 2 and len(accounts) == 3 and accounts[2] is None
    assert [(a.AccountId, a.AccountName) for a in accounts[:n]] == [
        (16, "Mehta & Sons"),
        (15, "Sharma Textiles"),
    ]

    # Whatever the array held before is replaced.
    n, accounts = account.Get_Accounts_With_Details(
        "Select AM_AccId from ACC_MASTER_2008_2009 where AM_GrpFlag='L' order by AM_AccId",
        cn,
        Y1,
        Y2,
        ["old", 1, None],
    )
    assert [a.AccountId for a in accounts[:n]] == [15, 16, 20] and accounts[n] is None
    assert accounts[0].AD.PrintAddress == "Central123North" and accounts[0].LevelNo == 2

    assert account.Get_Accounts_With_Id(0, "X", "", "", 0, "", cn, Y1, Y2, None) == (0, [None])


def test_lookups_and_delete(chart, cn):
    account = orv.create("ORVMasters.clsAccount")
    assert account.get_accountname(16, cn, Y1, Y2) == "Mehta & Sons"
    assert account.Get_AccountName(99, cn, Y1, Y2) == ""
    assert account.Get_AccountSum("Dr", cn, Y1, Y2) == 1250.75
    assert account.Delete(10, cn, Y1, Y2) is False  # a group with members
    assert account.Delete(20, cn, Y1, Y2) is True
    assert account.Get_AccountName(20, cn, Y1, Y2) == ""


def test_a_failing_save_raises_and_writes_nothing(cn, rows):
    account = orv.create("ORVMasters.clsAccount")
    account.AccountId, account.AccountName = 30, "Bank"
    with pytest.raises(orv.Error) as e:
        account.Save("new", 30, cn, Y1, Y2)  # the flag is compared exactly
    assert e.value.number and e.value.description
    with pytest.raises(orv.Error) as e:
        account.Save("New", 40000, cn, Y1, Y2)
    assert e.value.number == 6
    assert rows("select count(*) from ACC_MASTER_2008_2009") == [(0,)]
