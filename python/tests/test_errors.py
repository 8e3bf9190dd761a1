"""orv.Error, unknown members, and the modal message handler."""
import pytest

import orv


def test_error_is_an_exception_with_number_source_and_description():
    e = orv.Error(3021, "ORV.Database", "No current record.")
    assert isinstance(e, Exception)
    assert (e.number, e.source, e.description) == (3021, "ORV.Database", "No current record.")
    assert str(e) == "No current record. (ORV.Database, error 3021)"


def test_failures_of_the_components_arrive_as_orv_error(tmp_path):
    with pytest.raises(orv.Error) as e:
        orv.create("ORVNothing.clsNothing")
    assert e.value.number == 429 and e.value.source == "Registry"
    assert "ORVNothing.clsNothing" in e.value.description

    company = orv.create("ORVCompany.clsCompany")
    company.ShortName = "NOBODY"
    with pytest.raises(orv.Error) as e:
        company.ORVConnect(str(tmp_path) + "/")
    err = e.value
    assert err.number == 3044 and err.source and "NOBODY" in err.description
    assert all(str(part) in str(err) for part in (err.number, err.source, err.description))


def test_wrong_argument_count_and_misuse_of_known_members_are_orv_errors():
    company = orv.create("ORVCompany.clsCompany")
    cases = [
        (lambda: company.ORVConnect(), 450),
        (lambda: company.ORVConnect("a/", "b"), 450),
        (lambda: setattr(company.cn, "State", 1), 438),  # a property without a put
        (lambda: setattr(company, "ORVConnect", 1), 438),  # a method
    ]
    for call, number in cases:
        with pytest.raises(orv.Error) as e:
            call()
        assert e.value.number == number


def test_unknown_members_are_attribute_errors():
    company = orv.create("ORVCompany.clsCompany")
    with pytest.raises(AttributeError, match="clsCompany.*NoSuchMember"):
        company.NoSuchMember
    with pytest.raises(AttributeError):
        company.NoSuchMember = 1
    with pytest.raises(AttributeError):
        company.NoSuchMember()
    assert hasattr(company, "shortname") and not hasattr(company, "short_name")
    # Python's own protocol names are never looked up as members.
    assert not hasattr(company, "__length_hint__")
    with pytest.raises(TypeError):
        company.ORVConnect(strDBPath="x/")  # positional arguments only


def test_objects_cannot_be_made_directly():
    with pytest.raises(TypeError):
        orv.Object()


def test_message_handler_receives_each_message_and_none_restores_the_default(
    company, data_folder, capfd
):
    # The company fixture connected with the recording handler in place.
    seen = []
    orv.set_message_handler(seen.append)
    company.ORVConnect(data_folder)
    assert seen == ["Connection successfull...", "Tables Initialised ..."]
    capfd.readouterr()

    orv.set_message_handler(None)
    company.ORVConnect(data_folder)
    assert seen == ["Connection successfull...", "Tables Initialised ..."]
    assert capfd.readouterr().err == "Connection successfull...\nTables Initialised ...\n"

    with pytest.raises(TypeError):
        orv.set_message_handler("not callable")


def test_an_exception_in_the_handler_ends_the_call_and_reaches_the_caller(company, data_folder):
    class Refused(Exception):
        pass

    def refuse(text):
        raise Refused(text)

    orv.set_message_handler(refuse)
    with pytest.raises(Refused, match="Connection successfull"):
        company.ORVConnect(data_folder)
    # The method stopped at the first message: the tables were not named again.
    company.Table.AM = "untouched"
    with pytest.raises(Refused):
        company.ORVConnect(data_folder)
    assert company.Table.AM == "untouched"
    orv.set_message_handler(None)
