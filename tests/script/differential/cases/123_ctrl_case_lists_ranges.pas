function Kind(n: Integer): string;
begin
  case n of
    1, 3, 5, 7, 9: Result := 'odd digit';
    0, 2, 4, 6, 8: Result := 'even digit';
    10..99: Result := 'two digits';
    -9..-1: Result := 'negative digit';
    100, 200..299, 1000: Result := 'special';
  else
    Result := 'other';
  end;
end;

begin
  PrintLn(Kind(3));
  PrintLn(Kind(8));
  PrintLn(Kind(10));
  PrintLn(Kind(99));
  PrintLn(Kind(-5));
  PrintLn(Kind(100));
  PrintLn(Kind(250));
  PrintLn(Kind(1000));
  PrintLn(Kind(300));
  PrintLn(Kind(-10));
end.
